#include "graphics3d/VertexBuffer.h"

#include <new>

#include "graphics3d/Extensions.h"
#include "graphics3d/Format.h"
#include "graphics3d/Shader.h"

namespace vardel::graphics3d {

VertexBuffer::VertexBuffer(const VertexFormat& source, std::uint32_t vertexCount)
    : Buffer(GL_ARRAY_BUFFER_ARB), arrayTable{}, format(source), vertexCount(vertexCount), arrays(0)
{
    for (std::uint32_t slot = 0; slot < format.componentCount; ++slot) {
        VertexFormat::Component& component = format.components[slot];
        if (!component.arrays || !format::holdsElements(component.code))
            continue;
        component.glType = format::glType(format::elementType(component.code));
        // Vertex arrays take at most four elements: only bits 8-11 count.
        component.elementCount = static_cast<std::int32_t>(format::elementCount(component.code) & 0xF);
        arrays |= component.arrays;
        for (int bit = 0; bit < arrayBits; ++bit) {
            if (component.arrays & (1u << bit))
                arrayTable[bit] = {component.glType, component.elementCount, component.offset};
        }
    }
}

VertexBuffer* VertexBuffer::create(const VertexFormat& format, std::uint32_t vertexCount, int usage)
{
    auto* buffer = new (std::nothrow) VertexBuffer(format, vertexCount);
    if (buffer && !buffer->allocate(std::size_t(vertexCount) * format.stride, usage)) {
        buffer->release();
        return nullptr;
    }
    return buffer;
}

void VertexBuffer::write(std::uint32_t firstVertex, const void* data, std::uint32_t count)
{
    writeBytes(std::size_t(firstVertex) * format.stride, std::size_t(count) * format.stride, data);
}

void VertexBuffer::bindArrays(std::uint32_t mask)
{
    std::uintptr_t base = bindForDrawing();
    const GLsizei stride = static_cast<GLsizei>(format.stride);
    auto pointer = [base](const ArrayEntry& entry) { return reinterpret_cast<const void*>(base + entry.offset); };
    const std::uint32_t bound = mask & arrays;

    if (bound & Shader::vertexArray) {
        const ArrayEntry& entry = arrayTable[0];
        glVertexPointer(entry.elementCount, entry.glType, stride, pointer(entry));
    }
    if (bound & Shader::normalArray) {
        const ArrayEntry& entry = arrayTable[2];
        glNormalPointer(entry.glType, stride, pointer(entry));
    }
    if (bound & Shader::colourArray) {
        const ArrayEntry& entry = arrayTable[4];
        glColorPointer(entry.elementCount, entry.glType, stride, pointer(entry));
    }
    if ((bound & Shader::weightArray) && glWeightPointerARB) {
        const ArrayEntry& entry = arrayTable[6];
        glWeightPointerARB(entry.elementCount, entry.glType, stride, pointer(entry));
    }
    if ((bound & Shader::fogCoordinateArray) && glFogCoordPointerEXT) {
        const ArrayEntry& entry = arrayTable[7];
        glFogCoordPointerEXT(entry.glType, stride, pointer(entry));
    }
    if (bound & Shader::edgeFlagArray)
        glEdgeFlagPointer(stride, pointer(arrayTable[8]));
    for (int unit = 0; unit < 8; ++unit) {
        if (!(bound & (Shader::textureCoordinateArray << unit)))
            continue;
        // Without multitexture only unit 0 exists.
        if (glClientActiveTextureARB)
            glClientActiveTextureARB(GL_TEXTURE0_ARB + unit);
        else if (unit > 0)
            break;
        const ArrayEntry& entry = arrayTable[12 + unit];
        glTexCoordPointer(entry.elementCount, entry.glType, stride, pointer(entry));
    }
}

} // namespace vardel::graphics3d
