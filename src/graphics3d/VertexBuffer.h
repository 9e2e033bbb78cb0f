#pragma once

#include "graphics3d/Buffer.h"
#include "graphics3d/VertexFormat.h"

#include <cstdint>

namespace vardel::graphics3d {

// Vertices laid out by a VertexFormat, bound to the OpenGL client arrays that its components feed.
class VertexBuffer : public Buffer {
    VARDEL_CLASS_PATH(Buffer, VertexBuffer)

    // Client-array bits 0-19: up to texture coordinates of unit 7.
    static constexpr int arrayBits = 20;

    // How one client array reads the vertices: all zero for an array no component feeds.
    struct ArrayEntry {
        // The OpenGL type of the elements.
        GLenum glType;
        // Elements per vertex.
        std::int32_t elementCount;
        // Byte offset of the component within the vertex.
        std::uint32_t offset;
    };

    // A buffer for vertexCount vertices of the format with a usage code (Format.h), or null when
    // OpenGL or the allocation fails. The data is not initialised.
    static VertexBuffer* create(const VertexFormat& format, std::uint32_t vertexCount, int usage);

    // Data
    // count vertices laid out by the format; the caller keeps them within the buffer.
    void write(std::uint32_t firstVertex, const void* data, std::uint32_t count);
    // Points every client array that is both in mask and fed by the buffer at its component. Which
    // arrays are enabled is the shader's business.
    void bindArrays(std::uint32_t mask);

    // How each client array reads the vertices, by array bit.
    ArrayEntry arrayTable[arrayBits];
    // Its own copy, with the element counts and OpenGL types filled in.
    VertexFormat format;
    // Vertices the buffer holds.
    std::uint32_t vertexCount;
    // Union of the component masks.
    std::uint32_t arrays;

private:
    VertexBuffer(const VertexFormat& format, std::uint32_t vertexCount);
};

} // namespace vardel::graphics3d
