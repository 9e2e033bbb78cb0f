#include "graphics3d/Buffer.h"

#include <cstring>
#include <new>

#include "graphics3d/Extensions.h"
#include "graphics3d/Format.h"

namespace vardel::graphics3d {

namespace {

// By usage code; client memory records the dynamic constant.
const GLenum usageConstants[] = {0, GL_STATIC_DRAW_ARB, GL_DYNAMIC_DRAW_ARB, GL_STREAM_DRAW_ARB, GL_DYNAMIC_DRAW_ARB};

// So that the check after a call sees that call's error only. Bounded because a lost context may
// report errors for ever.
void clearErrors()
{
    for (int i = 0; i < 32 && glGetError() != GL_NO_ERROR; ++i) {
    }
}

} // namespace

Buffer::Buffer(GLenum target) : memory(nullptr), mapped(false), usage(0), bufferId(0), target(target) {}

Buffer::~Buffer()
{
    unmap();
    if (bufferId)
        glDeleteBuffersARB(1, &bufferId);
    else
        ::operator delete(memory);
}

bool Buffer::objectsAvailable()
{
    return glGenBuffersARB && glBindBufferARB && glBufferDataARB && glBufferSubDataARB && glDeleteBuffersARB;
}

bool Buffer::allocate(std::size_t bytes, int usageCode)
{
    if (usageCode < 0 || usageCode > usage::clientMemory)
        return false;
    usage = usageConstants[usageCode];
    if (!objectsAvailable() || usageCode == usage::clientMemory) {
        memory = ::operator new(bytes, std::nothrow);
        return memory != nullptr;
    }
    clearErrors();
    glGenBuffersARB(1, &bufferId);
    // Without a current context the call does nothing and reports nothing: the name stays 0.
    if (glGetError() != GL_NO_ERROR || bufferId == 0) {
        bufferId = 0;
        return false;
    }
    glBindBufferARB(target, bufferId);
    glBufferDataARB(target, static_cast<GLsizeiptrARB>(bytes), nullptr, usage);
    return glGetError() == GL_NO_ERROR;
}

void Buffer::writeBytes(std::size_t offset, std::size_t bytes, const void* data)
{
    if (bufferId) {
        glBindBufferARB(target, bufferId);
        glBufferSubDataARB(target, static_cast<GLintptrARB>(offset), static_cast<GLsizeiptrARB>(bytes), data);
    } else {
        std::memcpy(static_cast<unsigned char*>(memory) + offset, data, bytes);
    }
}

std::uintptr_t Buffer::bindForDrawing()
{
    if (bufferId) {
        glBindBufferARB(target, bufferId);
        return 0;
    }
    // A buffer object left bound would turn the memory address into an offset into it.
    if (glBindBufferARB)
        glBindBufferARB(target, 0);
    return reinterpret_cast<std::uintptr_t>(memory);
}

const unsigned char* Buffer::mapForReading()
{
    if (bufferId && !mapped) {
        if (!glMapBufferARB || !glUnmapBufferARB)
            return nullptr;
        glBindBufferARB(target, bufferId);
        memory = glMapBufferARB(target, GL_READ_ONLY_ARB);
        mapped = memory != nullptr;
    }
    return static_cast<const unsigned char*>(memory);
}

void Buffer::unmap()
{
    if (!mapped)
        return;
    glBindBufferARB(target, bufferId);
    glUnmapBufferARB(target);
    memory = nullptr;
    mapped = false;
}

} // namespace vardel::graphics3d
