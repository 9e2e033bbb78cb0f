#include "graphics3d/VertexMesh.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "geometry/TriangleMesh3.h"
#include "graphics3d/Appearance.h"
#include "graphics3d/Counted.h"
#include "graphics3d/Format.h"
#include "graphics3d/Shader.h"
#include "graphics3d/VertexBuffer.h"

namespace vardel::graphics3d {

namespace {

// Position codes whose bounds can be measured: three or four elements of bytes, 32-bit integers,
// floats or doubles.
bool measurable(std::uint32_t code)
{
    switch (code) {
    case 0x30301:
    case 0x40401:
    case 0xC0304:
    case 0x100404:
    case 0xC0324:
    case 0x100424:
    case 0x180328:
    case 0x200428:
        return true;
    default:
        return false;
    }
}

// Vertex data has no alignment promise beyond the component layout.
template <typename T>
T element(const unsigned char* at, int index)
{
    T value;
    std::memcpy(&value, at + index * sizeof(T), sizeof(T));
    return value;
}

} // namespace

VertexMesh::VertexMesh()
    : vertexBuffers{}, bufferSlots(0), minVertexCount(0), meshArrays(0), rangeStart(0), rangeEnd(0)
{
}

VertexMesh::~VertexMesh()
{
    for (VertexBuffer*& buffer : vertexBuffers)
        replaceCounted(buffer, nullptr);
}

void VertexMesh::setVertexBuffer(VertexBuffer* buffer, int slot)
{
    if (slot < 0 || slot >= slotCount)
        return;
    replaceCounted(vertexBuffers[slot], buffer);
    bufferSlots = 0;
    minVertexCount = 0;
    meshArrays = 0;
    for (int i = 0; i < slotCount; ++i) {
        const VertexBuffer* held = vertexBuffers[i];
        if (!held)
            continue;
        minVertexCount = bufferSlots ? std::min(minVertexCount, held->vertexCount) : held->vertexCount;
        bufferSlots = static_cast<std::uint32_t>(i + 1);
        meshArrays |= held->arrays;
    }
}

VertexBuffer* VertexMesh::vertexBuffer(int slot) const
{
    return slot >= 0 && slot < slotCount ? vertexBuffers[slot] : nullptr;
}

void VertexMesh::setRange(std::uint32_t start, std::uint32_t end)
{
    rangeStart = start;
    rangeEnd = end;
}

void VertexMesh::bindBuffers()
{
    for (std::uint32_t slot = 0; slot < bufferSlots; ++slot) {
        if (vertexBuffers[slot])
            vertexBuffers[slot]->bindArrays(~0u);
    }
}

bool VertexMesh::selectRange(std::uint32_t total, std::uint32_t& first, std::uint32_t& count) const
{
    if (rangeStart == rangeEnd) {
        first = 0;
        count = total;
        return true;
    }
    if (rangeStart > rangeEnd || rangeEnd > total)
        return false;
    first = rangeStart;
    count = rangeEnd - rangeStart;
    return true;
}

void VertexMesh::render()
{
    bindBuffers();
    if (appearance)
        appearance->apply();
    std::uint32_t first, count;
    if (selectRange(minVertexCount, first, count))
        glDrawArrays(primitive, static_cast<GLint>(first), static_cast<GLsizei>(count));
}

bool VertexMesh::mapPositions(Positions& positions)
{
    for (VertexBuffer* buffer : vertexBuffers) {
        if (!buffer || !(buffer->arrays & Shader::vertexArray))
            continue;
        const VertexFormat& format = buffer->format;
        for (std::uint32_t slot = 0; slot < format.componentCount; ++slot) {
            const VertexFormat::Component& component = format.components[slot];
            if (!(component.arrays & Shader::vertexArray) || !graphics3d::format::holdsElements(component.code))
                continue;
            positions = {buffer, buffer->mapForReading(), &component};
            if (positions.data)
                return true;
            buffer->unmap();
            return false;
        }
    }
    return false;
}

bool VertexMesh::measure(bool inRange, Bounds& out)
{
    Positions positions;
    if (!mapPositions(positions))
        return false;
    const VertexFormat::Component& component = *positions.component;
    const std::uint32_t stride = positions.buffer->format.stride;
    std::uint32_t first = 0, count = positions.buffer->vertexCount;
    bool measured = measurable(component.code) && (!inRange || selectRange(count, first, count)) && count > 0;
    if (measured) {
        // Doubles hold every supported element type exactly, so comparing them compares the values.
        format::visitElementType(format::elementType(component.code), [&](auto type) {
            using T = decltype(type);
            const unsigned char* at = positions.data + std::size_t(first) * stride + component.offset;
            double min[3], max[3];
            for (int axis = 0; axis < 3; ++axis)
                min[axis] = max[axis] = static_cast<double>(element<T>(at, axis));
            for (std::uint32_t v = 1; v < count; ++v) {
                at += stride;
                for (int axis = 0; axis < 3; ++axis) {
                    double value = static_cast<double>(element<T>(at, axis));
                    if (value < min[axis])
                        min[axis] = value;
                    else if (value > max[axis])
                        max[axis] = value;
                }
            }
            auto point = [](const double* p) {
                return math::Vector3<float>(static_cast<float>(p[0]), static_cast<float>(p[1]),
                                            static_cast<float>(p[2]));
            };
            out = boundsFromBox(point(min), point(max));
        });
    }
    positions.buffer->unmap();
    return measured;
}

geometry::TriangleMesh3<float>* VertexMesh::convertPositions(bool inRange)
{
    Positions positions;
    if (!mapPositions(positions))
        return nullptr;
    const VertexFormat::Component& component = *positions.component;
    const std::uint32_t stride = positions.buffer->format.stride;
    std::uint32_t first = 0, count = positions.buffer->vertexCount;
    geometry::TriangleMesh3<float>* mesh = nullptr;
    if (!inRange || selectRange(count, first, count))
        mesh = new (std::nothrow) geometry::TriangleMesh3<float>();
    if (mesh) {
        mesh->vertices.resize(count);
        const int elements = component.elementCount;
        bool converted = format::visitElementType(format::elementType(component.code), [&](auto type) {
            using T = decltype(type);
            const unsigned char* at = positions.data + std::size_t(first) * stride + component.offset;
            for (std::uint32_t v = 0; v < count; ++v, at += stride) {
                mesh->vertices[v] = {static_cast<float>(element<T>(at, 0)),
                                     elements >= 2 ? static_cast<float>(element<T>(at, 1)) : 0.0f,
                                     elements >= 3 ? static_cast<float>(element<T>(at, 2)) : 0.0f};
            }
        });
        if (!converted) {
            mesh->release();
            mesh = nullptr;
        }
    }
    positions.buffer->unmap();
    return mesh;
}

bool VertexMesh::computeBounds(Bounds& out)
{
    return measure(true, out);
}

geometry::TriangleMesh3<float>* VertexMesh::toTriangleMesh()
{
    geometry::TriangleMesh3<float>* mesh = convertPositions(true);
    if (!mesh)
        return nullptr;
    const std::uint32_t n = mesh->vertices.count;
    switch (primitive) {
    case GL_TRIANGLES:
        for (std::uint32_t k = 0; 3 * k + 2 < n; ++k)
            mesh->addTriangle(3 * k, 3 * k + 1, 3 * k + 2);
        break;
    case GL_TRIANGLE_STRIP:
        // Every other triangle of a strip is wound the other way round: swapping its first two
        // corners keeps all of them facing the same side.
        for (std::uint32_t i = 0; i + 2 < n; ++i) {
            if (i % 2 == 0)
                mesh->addTriangle(i, i + 1, i + 2);
            else
                mesh->addTriangle(i + 1, i, i + 2);
        }
        break;
    case GL_TRIANGLE_FAN:
        for (std::uint32_t i = 2; i < n; ++i)
            mesh->addTriangle(0, i - 1, i);
        break;
    default:
        break;
    }
    return mesh;
}

} // namespace vardel::graphics3d
