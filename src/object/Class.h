#pragma once

#include "object/Object.h"
#include "types/String.h"

namespace vardel::object {

// A short-lived value carrying an object's class path.
class Class : public Object {
    VARDEL_CLASS_PATH(Object, Class)

    // Takes the class path of object.
    explicit Class(const Object& object);

    // The class path.
    types::String getName() const override;
    // The class path.
    types::String toString() const override;

    // The class path of the object the value was made from.
    types::String name;
};

} // namespace vardel::object
