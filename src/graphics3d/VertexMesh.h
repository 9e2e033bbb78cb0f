#pragma once

#include "graphics3d/Mesh.h"
#include "graphics3d/VertexFormat.h"

#include <cstdint>

namespace vardel::graphics3d {

class VertexBuffer;

// A mesh drawn from up to 16 vertex buffers, its vertices taken in order.
class VertexMesh : public Mesh {
    VARDEL_CLASS_PATH(Mesh, VertexMesh)

    // Vertex buffers a mesh can draw from.
    static constexpr int slotCount = 16;

    VertexMesh();
    ~VertexMesh() override;

    // Binds every buffer's arrays, applies the appearance and draws the range, or all vertices
    // when the range is empty. A range beyond the vertices draws nothing.
    void render() override;
    // Triangles by primitive (triangles, strip or fan) over the vertices of the range, or all.
    geometry::TriangleMesh3<float>* toTriangleMesh() override;
    bool computeBounds(Bounds& out) override;

    // Buffers and range
    // Takes a reference on the buffer in slot 0-15, gives back the old one; other slots are
    // ignored.
    void setVertexBuffer(VertexBuffer* buffer, int slot);
    // Not retained; null for an empty slot.
    VertexBuffer* vertexBuffer(int slot) const;
    // Equal ends stand for the whole mesh.
    void setRange(std::uint32_t start, std::uint32_t end);

    // The buffer of each slot, or null.
    VertexBuffer* vertexBuffers[slotCount];
    // 1 + the last slot in use; 0 when none is.
    std::uint32_t bufferSlots;
    // The smallest vertex count among the buffers.
    std::uint32_t minVertexCount;
    // Union of the buffers' client-array masks.
    std::uint32_t meshArrays;
    // The first vertex (or index) drawn.
    std::uint32_t rangeStart;
    // Past the last vertex (or index) drawn; equal to rangeStart for all of them.
    std::uint32_t rangeEnd;

protected:
    // The positions: the first vertex-array component of the first buffer that feeds the vertex
    // array, with the buffer's data ready for reading.
    struct Positions {
        // The buffer holding the positions.
        VertexBuffer* buffer;
        // The buffer's data, mapped for reading.
        const unsigned char* data;
        // The component of the positions.
        const VertexFormat::Component* component;
    };

    // Points the client arrays at every buffer's components.
    void bindBuffers();
    // The part of total items (vertices, or indices of an indexed mesh) that the range selects;
    // false when the range does not lie within them.
    bool selectRange(std::uint32_t total, std::uint32_t& first, std::uint32_t& count) const;
    // False when no buffer feeds the vertex array or its data cannot be read. The caller ends
    // with positions.buffer->unmap().
    bool mapPositions(Positions& positions);
    // The bounds of the range's positions, or of every vertex.
    bool measure(bool inRange, Bounds& out);
    // A triangle mesh holding the range's positions, or every vertex, and no triangles yet.
    geometry::TriangleMesh3<float>* convertPositions(bool inRange);
};

} // namespace vardel::graphics3d
