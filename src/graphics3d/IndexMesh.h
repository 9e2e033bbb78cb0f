#pragma once

#include "graphics3d/VertexMesh.h"

namespace vardel::graphics3d {

class IndexBuffer;

// A mesh drawn through an index buffer; its range selects indices rather than vertices.
class IndexMesh : public VertexMesh {
    VARDEL_CLASS_PATH(VertexMesh, IndexMesh)

    IndexMesh();
    ~IndexMesh() override;

    // Records the index array in the current Context and draws the range of indices, or all of
    // them. Draws nothing without an index buffer, without vertex buffers or with a range beyond
    // the indices.
    void render() override;
    // Every vertex, and triangles by primitive from the indices of the range, or all; degenerate
    // strip triangles are skipped. Null without an index buffer.
    geometry::TriangleMesh3<float>* toTriangleMesh() override;
    // Over every vertex: the range selects indices.
    bool computeBounds(Bounds& out) override;

    // Takes a reference on the new buffer, gives back the old one.
    void setIndexBuffer(IndexBuffer* buffer);

    // The indices, or null.
    IndexBuffer* indexBuffer;
};

} // namespace vardel::graphics3d
