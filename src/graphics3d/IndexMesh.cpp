#include "graphics3d/IndexMesh.h"

#include <cstdint>

#include "geometry/TriangleMesh3.h"
#include "graphics3d/Appearance.h"
#include "graphics3d/Context.h"
#include "graphics3d/Counted.h"
#include "graphics3d/IndexBuffer.h"

namespace vardel::graphics3d {

namespace {

// Appends the triangles that count indices of type T make under the primitive.
template <typename T>
void appendTriangles(geometry::TriangleMesh3<float>& mesh, const T* index, std::uint32_t count, GLenum primitive)
{
    switch (primitive) {
    case GL_TRIANGLES:
        for (std::uint32_t i = 0; i + 2 < count; i += 3)
            mesh.addTriangle(index[i], index[i + 1], index[i + 2]);
        break;
    case GL_TRIANGLE_STRIP: {
        if (count < 3)
            break;
        // Replacing the older corners in turn keeps the winding of a strip; repeated indices
        // join strips with triangles of no area.
        std::uint32_t a = index[0], b = index[1];
        for (std::uint32_t step = 0; step + 2 < count; ++step) {
            std::uint32_t c = index[step + 2];
            if (a != b && b != c && a != c)
                mesh.addTriangle(a, b, c);
            (step % 2 == 0 ? a : b) = c;
        }
        break;
    }
    case GL_TRIANGLE_FAN: {
        if (count < 3)
            break;
        std::uint32_t centre = index[0], previous = index[1];
        for (std::uint32_t i = 2; i < count; ++i) {
            mesh.addTriangle(centre, previous, index[i]);
            previous = index[i];
        }
        break;
    }
    default:
        break;
    }
}

} // namespace

IndexMesh::IndexMesh() : indexBuffer(nullptr) {}

IndexMesh::~IndexMesh()
{
    replaceCounted(indexBuffer, nullptr);
}

void IndexMesh::setIndexBuffer(IndexBuffer* buffer)
{
    replaceCounted(indexBuffer, buffer);
}

void IndexMesh::render()
{
    Context* context = Context::get();
    std::uint32_t first, count;
    if (!context || !indexBuffer || bufferSlots == 0 || !selectRange(indexBuffer->count, first, count))
        return;
    bindBuffers();
    context->indexPointer = reinterpret_cast<const void*>(indexBuffer->bindForDrawing());
    context->indexType = indexBuffer->glType;
    context->indexSize = indexBuffer->bytesPerIndex;
    if (appearance)
        appearance->apply();
    std::uintptr_t start = reinterpret_cast<std::uintptr_t>(context->indexPointer) + std::uintptr_t(first) * context->indexSize;
    glDrawElements(primitive, static_cast<GLsizei>(count), context->indexType, reinterpret_cast<const void*>(start));
}

bool IndexMesh::computeBounds(Bounds& out)
{
    return measure(false, out);
}

geometry::TriangleMesh3<float>* IndexMesh::toTriangleMesh()
{
    if (!indexBuffer)
        return nullptr;
    geometry::TriangleMesh3<float>* mesh = convertPositions(false);
    if (!mesh)
        return nullptr;
    const unsigned char* data = indexBuffer->mapForReading();
    std::uint32_t first, count;
    bool converted = data && selectRange(indexBuffer->count, first, count);
    if (converted) {
        const unsigned char* at = data + std::size_t(first) * indexBuffer->bytesPerIndex;
        switch (indexBuffer->bytesPerIndex) {
        case 1:
            appendTriangles(*mesh, at, count, primitive);
            break;
        case 2:
            appendTriangles(*mesh, reinterpret_cast<const std::uint16_t*>(at), count, primitive);
            break;
        default:
            appendTriangles(*mesh, reinterpret_cast<const std::uint32_t*>(at), count, primitive);
            break;
        }
    }
    indexBuffer->unmap();
    if (!converted) {
        mesh->release();
        return nullptr;
    }
    return mesh;
}

} // namespace vardel::graphics3d
