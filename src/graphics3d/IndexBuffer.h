#pragma once

#include "graphics3d/Buffer.h"

#include <cstdint>

namespace vardel::graphics3d {

// Vertex indices of 1, 2 or 4 bytes for indexed drawing.
class IndexBuffer : public Buffer {
    VARDEL_CLASS_PATH(Buffer, IndexBuffer)

    // A buffer for count indices with a usage code (Format.h), or null for an index size other
    // than 1, 2 or 4 and when OpenGL or the allocation fails. The data is not initialised.
    static IndexBuffer* create(int bytesPerIndex, std::uint32_t count, int usage);

    // The caller keeps first + count within the buffer.
    void write(std::uint32_t first, const void* data, std::uint32_t count);

    // 1, 2 or 4.
    std::int32_t bytesPerIndex;
    // How many indices the buffer holds.
    std::uint32_t count;
    // GL_UNSIGNED_BYTE, GL_UNSIGNED_SHORT or GL_UNSIGNED_INT by the index size.
    GLenum glType;

private:
    IndexBuffer(int bytesPerIndex, std::uint32_t count);
};

} // namespace vardel::graphics3d
