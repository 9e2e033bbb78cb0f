#include "graphics3d/IndexBuffer.h"

#include <new>

namespace vardel::graphics3d {

IndexBuffer::IndexBuffer(int bytesPerIndex, std::uint32_t count)
    : Buffer(GL_ELEMENT_ARRAY_BUFFER_ARB), bytesPerIndex(bytesPerIndex), count(count),
      glType(bytesPerIndex == 1 ? GL_UNSIGNED_BYTE : bytesPerIndex == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT)
{
}

IndexBuffer* IndexBuffer::create(int bytesPerIndex, std::uint32_t count, int usage)
{
    if (bytesPerIndex != 1 && bytesPerIndex != 2 && bytesPerIndex != 4)
        return nullptr;
    auto* buffer = new (std::nothrow) IndexBuffer(bytesPerIndex, count);
    if (buffer && !buffer->allocate(std::size_t(count) * bytesPerIndex, usage)) {
        buffer->release();
        return nullptr;
    }
    return buffer;
}

void IndexBuffer::write(std::uint32_t first, const void* data, std::uint32_t written)
{
    writeBytes(std::size_t(first) * bytesPerIndex, std::size_t(written) * bytesPerIndex, data);
}

} // namespace vardel::graphics3d
