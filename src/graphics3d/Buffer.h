#pragma once

#include "graphics3d/Resource.h"
#include "platform/OpenGL.h"

#include <cstddef>
#include <cstdint>

namespace vardel::graphics3d {

// Where the data of a vertex or index buffer lives: an OpenGL buffer object when the driver has
// them and the usage asks for one, ordinary memory otherwise. Keeps Resource's class path; the
// concrete buffers add their own segment.
class Buffer : public Resource {
public:
    ~Buffer() override;

    // Whether the buffer-object entry points are all present.
    static bool objectsAvailable();

    // Reading
    // The data for reading on the CPU: a read-only mapping of the buffer object, which then stands
    // in memory until unmap(), or memory itself. Null when the mapping fails.
    const unsigned char* mapForReading();
    // Ends a mapping made by mapForReading; does nothing when there is none.
    void unmap();

    // Drawing
    // Binds the data and returns the address that OpenGL pointer calls take as base: an offset
    // into the bound buffer object, or the memory address.
    std::uintptr_t bindForDrawing();

    // Ordinary memory holding the data; null when a buffer object holds it.
    void* memory;
    // Whether mapForReading holds a mapping of the buffer object.
    bool mapped;
    // The OpenGL usage constant chosen at creation.
    GLenum usage;
    // 0 when memory is used.
    GLuint bufferId;

protected:
    // target is the binding point: GL_ARRAY_BUFFER_ARB or GL_ELEMENT_ARRAY_BUFFER_ARB.
    explicit Buffer(GLenum target);

    // Makes room for the data once; false on an OpenGL error, a failed allocation or a usage code
    // outside 0-4. There is no fallback from a failed buffer object to memory.
    bool allocate(std::size_t bytes, int usageCode);
    // The caller keeps offset + bytes within the buffer.
    void writeBytes(std::size_t offset, std::size_t bytes, const void* data);

    // The binding point of the buffer object.
    GLenum target;
};

} // namespace vardel::graphics3d
