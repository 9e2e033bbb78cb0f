#pragma once

#include "object/Object.h"
#include "platform/OpenGL.h"
#include "types/String.h"

#include <cstdint>

namespace vardel::graphics3d {

// The layout of one vertex: up to 16 components, each a format code placed after the previous one
// and feeding the OpenGL client arrays of its mask (bits as in Shader::arrays).
class VertexFormat : public object::Object {
    VARDEL_CLASS_PATH(object::Object, VertexFormat)

    // Components a vertex can have.
    static constexpr int maxComponents = 16;

    // One component of the vertex.
    struct Component {
        // The format code (Format.h).
        std::uint32_t code;
        // Client-array mask; 0 marks a slot the next addComponent takes.
        std::uint32_t arrays;
        // Byte offset within the vertex.
        std::uint32_t offset;
        // Both filled in by a vertex buffer's copy of the format.
        std::int32_t elementCount;
        // The OpenGL type of the elements.
        GLenum glType;
    };

    VertexFormat();

    // Puts a component in the first slot in use whose mask is 0, or else after the last slot, and
    // returns the slot; -1, changing nothing, when all 16 slots are taken. The component starts
    // where the slot before it ends; a slot taken in the middle moves every later slot on by the
    // component's size. The stride grows by that size either way. Any code is taken: a component
    // whose size cannot hold its elements, or of a type outside the table, feeds no array of a
    // vertex buffer (format::holdsElements).
    int addComponent(std::uint32_t code, std::uint32_t arrays);

    // The components, in slot order.
    Component components[maxComponents];
    // Bytes per vertex: the sum of the component sizes.
    std::uint32_t stride;
    // Slots in use.
    std::uint32_t componentCount;
};

} // namespace vardel::graphics3d
