#pragma once

#include "container/Array.h"
#include "object/Object.h"
#include "types/String.h"

#include <cstdint>

namespace vardel::graphics3d {

// The layout of a block of named per-draw parameters, such as a model's matrix.
class ParameterFormat : public object::Object {
public:
    // One named parameter of the block.
    struct Component {
        // At most 64 characters and the terminating zero.
        char name[128];
        // Byte offset in the block.
        std::uint32_t offset;
        // A format code (Format.h); 0 marks a component that compact() drops.
        std::uint32_t code;
    };

    ParameterFormat();

    // Appends a component at the caller's offset; the name is cut to 64 characters and the block
    // grows by the code's size.
    void addComponent(const char* name, std::uint32_t code, std::uint32_t offset);
    // Appends copies of other's components placed after this block.
    void append(const ParameterFormat& other);
    // Drops the components of code 0, keeping the order of the others and the block size, and
    // shrinks the storage to fit.
    void compact();
    // No components, size 0.
    void clear();

    // The parameters, in the order they were added.
    container::Array<Component> components;
    // Bytes in the whole block.
    std::uint32_t size;
};

} // namespace vardel::graphics3d
