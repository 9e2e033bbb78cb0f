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

    static constexpr int maxComponents = 16;

    struct Component {
        std::uint32_t code;
        // Client-array mask.
        std::uint32_t arrays;
        // Byte offset within the vertex.
        std::uint32_t offset;
        // Both filled in by a vertex buffer's copy of the format.
        std::int32_t elementCount;
        GLenum glType;
    };

    VertexFormat();

    // Appends a component after the last one and returns its slot, or -1, changing nothing, when
    // all slots are taken, the mask is empty, the element type is outside the table or the size
    // cannot hold the elements.
    int addComponent(std::uint32_t code, std::uint32_t arrays);

    Component components[maxComponents];
    // Bytes per vertex: the sum of the component sizes.
    std::uint32_t stride;
    std::uint32_t componentCount;
};

} // namespace vardel::graphics3d
