#pragma once

#include "object/Object.h"
#include "types/String.h"

namespace vardel::object {

// A short-lived value carrying an object's class path.
class Class : public Object {
    VARDEL_CLASS_PATH(Object, Class)

    explicit Class(const Object& object);

    types::String getName() const override;
    types::String toString() const override;

    types::String name;
};

} // namespace vardel::object
