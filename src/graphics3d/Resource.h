#pragma once

#include "object/Object.h"
#include "types/String.h"

namespace vardel::graphics3d {

// Named base of every drawable or stateful rendering object. Each subclass adds its own operations
// directly after Object's.
class Resource : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Resource)

    Resource();

    // The resource's name rather than its class path.
    types::String getName() const override;

    // The name the owner gave the resource; empty by default.
    types::String name;
};

} // namespace vardel::graphics3d
