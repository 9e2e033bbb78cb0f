#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "geometry/TriangleMesh3.h"
#include "graphics3d/IndexBuffer.h"
#include "graphics3d/IndexMesh.h"
#include "graphics3d/Shader.h"
#include "graphics3d/VertexBuffer.h"

using namespace vardel::graphics3d;
using Triangles = std::vector<std::vector<unsigned>>;

namespace {

// A buffer whose vertices are given positions of element type T under the position code, after a
// normal in every vertex so that the positions do not start the vertex.
template <typename T>
VertexBuffer* positionBuffer(std::uint32_t code, const std::vector<std::vector<double>>& points)
{
    VertexFormat format;
    format.addComponent(0xC0324, Shader::normalArray);
    format.addComponent(code, Shader::vertexArray);
    VertexBuffer* buffer = VertexBuffer::create(format, std::uint32_t(points.size()), 4);
    std::vector<unsigned char> data(points.size() * format.stride);
    const std::uint32_t elements = (code >> 8) & 0xF;
    for (std::size_t v = 0; v < points.size(); ++v) {
        for (std::uint32_t e = 0; e < elements; ++e) {
            T value = static_cast<T>(e < points[v].size() ? points[v][e] : 99);
            std::memcpy(&data[v * format.stride + 12 + e * sizeof(T)], &value, sizeof(T));
        }
    }
    buffer->write(0, data.data(), std::uint32_t(points.size()));
    return buffer;
}

// A mesh whose vertices are just their numbers along x.
VertexBuffer* numberedVertices(unsigned count)
{
    std::vector<std::vector<double>> points;
    for (unsigned i = 0; i < count; ++i)
        points.push_back({double(i), 0, 0});
    return positionBuffer<float>(0xC0324, points);
}

template <typename T>
IndexBuffer* indexBuffer(std::vector<T> indices)
{
    IndexBuffer* buffer = IndexBuffer::create(int(sizeof(T)), std::uint32_t(indices.size()), 4);
    buffer->write(0, indices.data(), std::uint32_t(indices.size()));
    return buffer;
}

Triangles triangles(Mesh& mesh)
{
    vardel::geometry::TriangleMesh3<float>* converted = mesh.toTriangleMesh();
    if (!converted)
        return {{999}};
    Triangles result;
    const auto& indices = converted->triangleIndices;
    for (std::uint32_t i = 0; i < indices.count; i += 3)
        result.push_back({indices[i], indices[i + 1], indices[i + 2]});
    EXPECT_EQ(converted->className(), "Object:TriangleMesh");
    converted->release();
    return result;
}

Triangles vertexTriangles(GLenum primitive, unsigned count, std::uint32_t start = 0, std::uint32_t end = 0)
{
    VertexMesh mesh;
    VertexBuffer* buffer = numberedVertices(count);
    mesh.setVertexBuffer(buffer, 0);
    buffer->release();
    mesh.setPrimitive(primitive);
    mesh.setRange(start, end);
    return triangles(mesh);
}

template <typename T>
Triangles indexedTriangles(GLenum primitive, std::vector<T> indices, std::uint32_t start = 0, std::uint32_t end = 0)
{
    IndexMesh mesh;
    VertexBuffer* vertices = numberedVertices(8);
    IndexBuffer* buffer = indexBuffer(std::move(indices));
    mesh.setVertexBuffer(vertices, 2);
    mesh.setIndexBuffer(buffer);
    vertices->release();
    buffer->release();
    mesh.setPrimitive(primitive);
    mesh.setRange(start, end);
    return triangles(mesh);
}

const std::vector<std::vector<double>> boxPoints = {{1, -2, 3}, {5, 6, -7}, {2, 8, 0}};

template <typename T>
void expectBoxPointsBounds(std::uint32_t code)
{
    VertexMesh mesh;
    VertexBuffer* buffer = positionBuffer<T>(code, boxPoints);
    mesh.setVertexBuffer(buffer, 0);
    buffer->release();
    Bounds bounds;
    ASSERT_TRUE(mesh.computeBounds(bounds)) << std::hex << code;
    EXPECT_FLOAT_EQ(bounds.center.x, 3) << std::hex << code;
    EXPECT_FLOAT_EQ(bounds.center.y, 3) << std::hex << code;
    EXPECT_FLOAT_EQ(bounds.center.z, -2) << std::hex << code;
    EXPECT_FLOAT_EQ(bounds.axisX.x, 2) << std::hex << code;
    EXPECT_FLOAT_EQ(bounds.axisY.y, 5) << std::hex << code;
    EXPECT_FLOAT_EQ(bounds.axisZ.z, 5) << std::hex << code;
}

} // namespace

TEST(VertexMesh, SlotsTrackTheBuffersHeld)
{
    VertexMesh mesh;
    EXPECT_EQ(mesh.className(), "Object:Resource:Mesh:VertexMesh");
    VertexBuffer* six = numberedVertices(6);
    VertexBuffer* four = numberedVertices(4);
    mesh.setVertexBuffer(six, 3);
    EXPECT_EQ(mesh.bufferSlots, 4u);
    EXPECT_EQ(mesh.minVertexCount, 6u);
    EXPECT_EQ(mesh.meshArrays, 0x5u);
    mesh.setVertexBuffer(four, 1);
    EXPECT_EQ(mesh.minVertexCount, 4u);
    EXPECT_EQ(six->refCount.load(), 2);
    mesh.setVertexBuffer(nullptr, 3);
    EXPECT_EQ(mesh.bufferSlots, 2u);
    EXPECT_EQ(six->refCount.load(), 1);
    six->release();
    four->release();
}

TEST(VertexMesh, TrianglesFollowThePrimitive)
{
    EXPECT_EQ(vertexTriangles(GL_TRIANGLES, 7), (Triangles{{0, 1, 2}, {3, 4, 5}}));
    EXPECT_EQ(vertexTriangles(GL_TRIANGLE_STRIP, 5), (Triangles{{0, 1, 2}, {2, 1, 3}, {2, 3, 4}}));
    EXPECT_EQ(vertexTriangles(GL_TRIANGLE_FAN, 4), (Triangles{{0, 1, 2}, {0, 2, 3}}));
    EXPECT_EQ(vertexTriangles(GL_TRIANGLE_STRIP, 2), Triangles{});
    EXPECT_EQ(vertexTriangles(GL_LINES, 6), Triangles{});
    // A range takes its vertices and numbers them from 0.
    EXPECT_EQ(vertexTriangles(GL_TRIANGLE_FAN, 8, 2, 6), (Triangles{{0, 1, 2}, {0, 2, 3}}));
    EXPECT_EQ(vertexTriangles(GL_TRIANGLES, 4, 2, 6), (Triangles{{999}}));
    EXPECT_EQ(vertexTriangles(GL_TRIANGLES, 4, 3, 2), (Triangles{{999}}));
}

TEST(VertexMesh, PositionsConvertFromTheirElementType)
{
    VertexMesh mesh;
    VertexBuffer* flat = positionBuffer<float>(0x80224, {{1.5, 2.5}, {3, 4}, {5, 6}});
    VertexBuffer* shorts = positionBuffer<std::int16_t>(0x60302, {{-1, 2, -3}, {4, 5, 6}, {7, 8, 9}});
    mesh.setVertexBuffer(flat, 0);
    vardel::geometry::TriangleMesh3<float>* converted = mesh.toTriangleMesh();
    ASSERT_NE(converted, nullptr);
    ASSERT_EQ(converted->vertices.count, 3u);
    EXPECT_EQ(converted->vertices[0].x, 1.5f);
    EXPECT_EQ(converted->vertices[0].y, 2.5f);
    EXPECT_EQ(converted->vertices[0].z, 0.0f);
    EXPECT_EQ(converted->triangleIndices.count, 3u);
    converted->release();

    // Positions come from the first buffer that feeds the vertex array.
    mesh.setVertexBuffer(shorts, 0);
    mesh.setVertexBuffer(flat, 1);
    converted = mesh.toTriangleMesh();
    ASSERT_NE(converted, nullptr);
    EXPECT_EQ(converted->vertices[0].x, -1.0f);
    EXPECT_EQ(converted->vertices[0].z, -3.0f);
    converted->release();
    flat->release();
    shorts->release();
}

TEST(VertexMesh, BoundsForEverySupportedPositionCode)
{
    expectBoxPointsBounds<std::int8_t>(0x30301);
    expectBoxPointsBounds<std::int8_t>(0x40401);
    expectBoxPointsBounds<std::int32_t>(0xC0304);
    expectBoxPointsBounds<std::int32_t>(0x100404);
    expectBoxPointsBounds<float>(0xC0324);
    expectBoxPointsBounds<float>(0x100424);
    expectBoxPointsBounds<double>(0x180328);
    expectBoxPointsBounds<double>(0x200428);

    // Shorts are not measured; nor is a mesh without positions.
    VertexMesh mesh;
    Bounds bounds;
    EXPECT_FALSE(mesh.computeBounds(bounds));
    VertexBuffer* shorts = positionBuffer<std::int16_t>(0x60302, boxPoints);
    mesh.setVertexBuffer(shorts, 0);
    shorts->release();
    EXPECT_FALSE(mesh.computeBounds(bounds));

    // A range measures its own vertices and must lie within the buffer.
    VertexBuffer* floats = positionBuffer<float>(0xC0324, {{100, 100, 100}, {1, 2, 3}, {3, 6, 9}});
    mesh.setVertexBuffer(floats, 0);
    floats->release();
    mesh.setRange(1, 3);
    ASSERT_TRUE(mesh.computeBounds(bounds));
    EXPECT_FLOAT_EQ(bounds.center.x, 2);
    EXPECT_FLOAT_EQ(bounds.axisZ.z, 3);
    mesh.setRange(1, 4);
    EXPECT_FALSE(mesh.computeBounds(bounds));
}

TEST(IndexMesh, TrianglesFromIndicesOfEveryWidth)
{
    EXPECT_EQ(indexedTriangles<std::uint8_t>(GL_TRIANGLES, {5, 6, 7, 1, 2}), (Triangles{{5, 6, 7}}));
    EXPECT_EQ(indexedTriangles<std::uint16_t>(GL_TRIANGLE_FAN, {0, 1, 2, 3}), (Triangles{{0, 1, 2}, {0, 2, 3}}));
    EXPECT_EQ(indexedTriangles<std::uint32_t>(GL_TRIANGLE_STRIP, {0, 1, 2, 3, 4}),
              (Triangles{{0, 1, 2}, {2, 1, 3}, {2, 3, 4}}));
    // Repeated indices join strips: their triangles have no area and are skipped.
    EXPECT_EQ(indexedTriangles<std::uint16_t>(GL_TRIANGLE_STRIP, {0, 1, 1, 2}), Triangles{});
    EXPECT_EQ(indexedTriangles<std::uint8_t>(GL_TRIANGLE_STRIP, {0, 1, 2, 2, 3, 3, 4, 5, 6}),
              (Triangles{{0, 1, 2}, {4, 3, 5}, {4, 5, 6}}));
    EXPECT_EQ(indexedTriangles<std::uint32_t>(GL_TRIANGLE_FAN, {0, 1}), Triangles{});
    // The range selects indices.
    EXPECT_EQ(indexedTriangles<std::uint16_t>(GL_TRIANGLES, {0, 1, 2, 3, 4, 5, 6, 7}, 3, 6), (Triangles{{3, 4, 5}}));
    EXPECT_EQ(indexedTriangles<std::uint16_t>(GL_TRIANGLES, {0, 1, 2}, 0, 4), (Triangles{{999}}));
}

TEST(IndexMesh, KeepsEveryVertexAndNeedsAnIndexBuffer)
{
    IndexMesh mesh;
    EXPECT_EQ(mesh.className(), "Object:Resource:Mesh:VertexMesh:IndexMesh");
    VertexBuffer* vertices = positionBuffer<float>(0xC0324, {{0, 0, 0}, {4, 2, 0}, {8, 4, 6}});
    mesh.setVertexBuffer(vertices, 0);
    vertices->release();
    EXPECT_EQ(mesh.toTriangleMesh(), nullptr);

    IndexBuffer* indices = indexBuffer<std::uint16_t>({0, 1, 2});
    mesh.setIndexBuffer(indices);
    EXPECT_EQ(indices->refCount.load(), 2);
    indices->release();
    // The range selects indices, so bounds and positions cover every vertex.
    mesh.setRange(0, 1);
    Bounds bounds;
    ASSERT_TRUE(mesh.computeBounds(bounds));
    EXPECT_FLOAT_EQ(bounds.center.x, 4);
    EXPECT_FLOAT_EQ(bounds.axisZ.z, 3);
    vardel::geometry::TriangleMesh3<float>* converted = mesh.toTriangleMesh();
    ASSERT_NE(converted, nullptr);
    EXPECT_EQ(converted->vertices.count, 3u);
    EXPECT_EQ(converted->triangleIndices.count, 0u);
    converted->release();
}
