#include "graphics3d/SpringModel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "graphics3d/IndexBuffer.h"
#include "graphics3d/ParameterBuffer.h"
#include "graphics3d/VertexBuffer.h"
#include "physics/Relaxator.h"
#include "support/Expect.h"

using namespace vardel::graphics3d;
using vardel::math::Vector3;

using vardel::test::expectVector;

namespace {

// Without a rendering context in this process every buffer lives in ordinary memory.
std::vector<unsigned> indexData(const SpringModel& model)
{
    const IndexBuffer* buffer = model.mesh.indexBuffer;
    auto* data = static_cast<const unsigned*>(buffer->memory);
    return {data, data + buffer->count};
}

std::vector<std::pair<unsigned, unsigned>> springEnds(const SpringModel::Solver& solver)
{
    std::vector<std::pair<unsigned, unsigned>> ends;
    for (const auto& spring : solver.springs)
        ends.emplace_back(spring.weightA - solver.weights.elements, spring.weightB - solver.weights.elements);
    return ends;
}

} // namespace

TEST(SpringModel, SmallestClothJoinsEveryPairOnceInGridOrder)
{
    SpringModel* model = SpringModel::createCloth(2, 2);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->className(), "Object:Resource:Model:DynamicModel:SpringModel");
    ASSERT_EQ(model->relaxator->weights.count, 4u);
    using Ends = std::vector<std::pair<unsigned, unsigned>>;
    EXPECT_EQ(springEnds(*model->relaxator), (Ends{{0, 1}, {0, 2}, {0, 3}, {1, 3}, {1, 2}, {2, 3}}));
    EXPECT_EQ(indexData(*model), (std::vector<unsigned>{0, 2, 1, 1, 2, 3}));
    model->release();
}

TEST(SpringModel, aThreeByThreeClothAddsRightLowerAndBothDiagonalsPerWeight)
{
    // Weight 1 and weight 4 are the ones with both diagonals: lower right before lower left.
    SpringModel* model = SpringModel::createCloth(3, 3);
    ASSERT_NE(model, nullptr);
    using Ends = std::vector<std::pair<unsigned, unsigned>>;
    EXPECT_EQ(springEnds(*model->relaxator), (Ends{{0, 1}, {0, 3}, {0, 4},
                                                   {1, 2}, {1, 4}, {1, 5}, {1, 3},
                                                   {2, 5}, {2, 4},
                                                   {3, 4}, {3, 6}, {3, 7},
                                                   {4, 5}, {4, 7}, {4, 8}, {4, 6},
                                                   {5, 8}, {5, 7},
                                                   {6, 7},
                                                   {7, 8}}));
    model->release();
}

TEST(SpringModel, DemoClothHasItsWeightsSpringsAndTriangles)
{
    SpringModel* model = SpringModel::createCloth(50, 50);
    ASSERT_NE(model, nullptr);
    const SpringModel::Solver& solver = *model->relaxator;
    EXPECT_EQ(solver.weights.count, 2500u);
    EXPECT_EQ(solver.springs.count, 9702u);
    EXPECT_EQ(model->mesh.indexBuffer->count, 14406u);
    EXPECT_EQ(model->mesh.indexBuffer->bytesPerIndex, 4);
    expectVector(solver.weights[0].position, -250, -250, 0);
    expectVector(solver.weights[49].position, -250, 240, 0);
    expectVector(solver.weights[2450].position, 240, -250, 0);
    expectVector(solver.weights[2499].position, 240, 240, 0);

    // At rest: structural springs 10 long, shear springs 10 sqrt 2.
    int structural = 0, shear = 0;
    for (const auto& spring : solver.springs) {
        EXPECT_EQ(spring.length, spring.restLength);
        structural += spring.restLength == 10.0f;
        shear += std::abs(spring.restLength - 14.142136f) < 1e-4f;
    }
    EXPECT_EQ(structural, 4900);
    EXPECT_EQ(shear, 4802);
    model->release();
}

TEST(SpringModel, SidesBelowTwoMakeNoCloth)
{
    EXPECT_EQ(SpringModel::createCloth(1, 50), nullptr);
    EXPECT_EQ(SpringModel::createCloth(50, 1), nullptr);
    EXPECT_EQ(SpringModel::createCloth(0, 0), nullptr);
    // Too many indices for 32 bits.
    EXPECT_EQ(SpringModel::createCloth(70000, 70000), nullptr);
}

TEST(SpringModel, FlatClothHasUpwardNormalsAndItsBox)
{
    SpringModel* model = SpringModel::createCloth(50, 50);
    ASSERT_NE(model, nullptr);
    model->update();
    VertexBuffer* buffer = model->mesh.vertexBuffer(0);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->vertexCount, 2500u);

    auto* written = static_cast<const Vector3<float>*>(buffer->memory);
    for (unsigned i = 0; i < 2500; ++i) {
        const Vector3<float>& position = model->relaxator->weights[i].position;
        ASSERT_EQ(written[2 * i].x, position.x) << i;
        ASSERT_EQ(written[2 * i].y, position.y) << i;
        ASSERT_EQ(written[2 * i + 1].z, 1.0f) << i;
        ASSERT_EQ(written[2 * i + 1].x, 0.0f) << i;
    }
    expectVector(model->bounds.center, -5, -5, 0);
    expectVector(model->bounds.axisX, 245, 0, 0);
    expectVector(model->bounds.axisY, 0, 245, 0);
    expectVector(model->bounds.axisZ, 0, 0, 0);

    // The next frame reuses the buffer and follows the weights.
    model->relaxator->weights[1275].position.z = 30.0f;
    model->update();
    EXPECT_EQ(model->mesh.vertexBuffer(0), buffer);
    EXPECT_FLOAT_EQ(written[2 * 1275].z, 30.0f);
    EXPECT_FLOAT_EQ(model->bounds.center.z, 15.0f);
    EXPECT_FLOAT_EQ(model->bounds.axisZ.z, 15.0f);
    // A raised weight tilts its neighbours' normals away from it.
    EXPECT_GT(written[2 * 1276 + 1].y, 0.0f);
    EXPECT_LT(written[2 * 1274 + 1].y, 0.0f);
    EXPECT_FLOAT_EQ(Vector3<float>(written[2 * 1276 + 1]).length(), 1.0f);
    model->release();
}

TEST(SpringModel, NewWeightCountRemakesTheVertexBuffer)
{
    SpringModel* model = SpringModel::createCloth(3, 3);
    ASSERT_NE(model, nullptr);
    model->update();
    VertexBuffer* first = model->mesh.vertexBuffer(0);
    first->retain();

    // More weights than the triangles use: the spare one has no triangle and keeps a zero normal.
    SpringModel::Solver* solver = model->relaxator;
    solver->setWeightCount(10);
    for (unsigned i = 0; i < 10; ++i)
        solver->weights[i].position.set(float(i / 3), float(i % 3), 0.0f);
    model->update();
    VertexBuffer* second = model->mesh.vertexBuffer(0);
    EXPECT_NE(second, first);
    EXPECT_EQ(second->vertexCount, 10u);
    EXPECT_EQ(model->mesh.minVertexCount, 10u);
    auto* written = static_cast<const Vector3<float>*>(second->memory);
    expectVector(written[2 * 9 + 1], 0, 0, 0);
    expectVector(written[2 * 8 + 1], 0, 0, 1);
    first->release();

    // Fewer weights than the triangles name: nothing is read or written.
    solver->setWeightCount(4);
    model->update();
    EXPECT_EQ(model->mesh.vertexBuffer(0), second);
    EXPECT_EQ(model->vertices.count, 20u);
    model->release();
}

TEST(SpringModel, WithoutSolverUpdateDoesNothing)
{
    auto* model = new SpringModel();
    model->update();
    EXPECT_EQ(model->mesh.vertexBuffer(0), nullptr);
    EXPECT_EQ(model->vertices.count, 0u);
    expectVector(model->bounds.axisX, 0, 0, 0);
    model->release();
}

TEST(SpringModel, ParametersAreOneMatrixAndTheLinksComeUndoneFirst)
{
    auto* model = new SpringModel();
    ASSERT_EQ(model->parameterFormat.components.count, 1u);
    EXPECT_STREQ(model->parameterFormat.components[0].name, "position");
    EXPECT_EQ(model->parameterFormat.components[0].code, 0x401024u);
    EXPECT_EQ(model->parameterFormat.size, 64u);
    EXPECT_EQ(model->joints.count, 0u);
    ParameterBuffer* parameters = ParameterBuffer::create(model->parameterFormat);
    ASSERT_NE(parameters, nullptr);
    EXPECT_EQ(parameters->format, &model->parameterFormat);
    parameters->release();

    // The embedded objects are linked with counted references.
    EXPECT_EQ(model->material.refCount.load(), 2);
    EXPECT_EQ(model->shader.refCount.load(), 2);
    EXPECT_EQ(model->appearance.refCount.load(), 2);

    auto* solver = new SpringModel::Solver();
    model->setRelaxator(solver);
    EXPECT_EQ(solver->refCount.load(), 2);
    model->release();
    EXPECT_EQ(solver->refCount.load(), 1);
    solver->release();
}

TEST(SpringModel, TrianglesAlongABrokenSpringLeaveTheIndexBuffer)
{
    // 3 x 3 weights: four cells, eight triangles.
    SpringModel* model = SpringModel::createCloth(3, 3);
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(indexData(*model).size(), 24u);
    // The diagonal 0-4 is an edge of no triangle: the cell is split along 1-3.
    const std::uint32_t diagonal[] = {0, 4};
    EXPECT_EQ(model->removeTrianglesAlong(diagonal, 1), 0u);
    // 1-3 splits the first cell: both its triangles go. 4-5 (either order) is shared by two
    // triangles of the next cell; 7-8 by one of the last.
    const std::uint32_t broken[] = {1, 3, 5, 4, 7, 8};
    EXPECT_EQ(model->removeTrianglesAlong(broken, 3), 5u);
    EXPECT_EQ(indexData(*model), (std::vector<unsigned>{1, 4, 2, 3, 6, 4, 4, 6, 7}));
    EXPECT_EQ(model->indices.count, 9u);
    model->release();
}

TEST(SpringModel, BallHasItsWeightsOnTheSphereAndItsTrianglesFacingOut)
{
    EXPECT_EQ(SpringModel::createBall(Vector3<float>(0, 0, 0), 1.0f, 1, 6), nullptr);
    EXPECT_EQ(SpringModel::createBall(Vector3<float>(0, 0, 0), 1.0f, 4, 2), nullptr);
    const Vector3<float> centre(1, 2, 3);
    SpringModel* ball = SpringModel::createBall(centre, 5.0f, 4, 6);
    ASSERT_NE(ball, nullptr);
    EXPECT_EQ(ball->relaxator->weights.count, 2u + 3u * 6u);
    EXPECT_EQ(ball->relaxator->springs.count, 0);
    EXPECT_EQ(indexData(*ball).size(), 6u * 6u * 3u);
    ball->update();
    for (std::uint32_t i = 0; i < ball->relaxator->weights.count; ++i) {
        Vector3<float> out = Vector3<float>::difference(ball->vertices[2 * i], centre);
        EXPECT_NEAR(out.length(), 5.0f, 1e-5f) << i;
        const Vector3<float>& normal = ball->vertices[2 * i + 1];
        EXPECT_GT(normal.x * out.x + normal.y * out.y + normal.z * out.z, 4.5f) << "weight " << i;
    }
    ball->release();
}

namespace {

// The vertices as adding each face normal to its three corners in turn, then normalising, computes
// them: what computeVertices must match bit for bit.
std::vector<Vector3<float>> scatteredVertices(const SpringModel& model)
{
    const auto& weights = model.relaxator->weights;
    std::vector<Vector3<float>> out;
    for (const auto& weight : weights) {
        out.push_back(weight.position);
        out.emplace_back(0.0f, 0.0f, 0.0f);
    }
    const auto& index = model.indices;
    for (unsigned t = 0; t + 2 < index.count; t += 3) {
        const auto& p0 = weights[index[t]].position;
        Vector3<float> normal = Vector3<float>::cross(Vector3<float>::difference(weights[index[t + 1]].position, p0),
                                                      Vector3<float>::difference(weights[index[t + 2]].position, p0));
        for (unsigned corner = 0; corner < 3; ++corner)
            out[2 * index[t + corner] + 1].add(normal);
    }
    for (unsigned i = 0; i < weights.count; ++i)
        out[2 * i + 1].normalise();
    return out;
}

int differingVertices(const SpringModel& model)
{
    std::vector<Vector3<float>> expected = scatteredVertices(model);
    if (model.vertices.count != expected.size())
        return -1;
    int count = 0;
    for (unsigned i = 0; i < expected.size(); ++i)
        count += std::memcmp(&model.vertices[i], &expected[i], sizeof expected[i]) != 0;
    return count;
}

} // namespace

TEST(SpringModel, NormalsHaveTheBitsOfAddingEachFaceToItsCorners)
{
    // A crumpled cloth whose side is no multiple of four, torn, then given a new solver.
    SpringModel* model = SpringModel::createCloth(23, 17);
    ASSERT_NE(model, nullptr);
    auto& weights = model->relaxator->weights;
    for (unsigned i = 0; i < weights.count; ++i)
        weights[i].position.z = float((i * 7919) % 23) * 0.37f - float(i % 5);
    ASSERT_TRUE(model->computeVertices());
    EXPECT_EQ(differingVertices(*model), 0);

    std::uint32_t tear[] = {40, 41, 41, 64, 200, 201};
    EXPECT_GT(model->removeTrianglesAlong(tear, 3), 0u);
    weights[41].position.x += 3.0f;
    ASSERT_TRUE(model->computeVertices());
    EXPECT_EQ(differingVertices(*model), 0) << "after a tear";

    // Triangles in no particular order, one of them folded flat onto a zero normal.
    std::vector<unsigned> triangles;
    for (unsigned t = 0; t < 300; ++t)
        for (unsigned corner = 0; corner < 3; ++corner)
            triangles.push_back((t * 37 + corner * 101 + t * t) % weights.count);
    triangles.insert(triangles.end(), {5, 5, 6});
    model->setIndices(triangles.data(), static_cast<unsigned>(triangles.size()));
    ASSERT_TRUE(model->computeVertices());
    EXPECT_EQ(differingVertices(*model), 0) << "after new indices";
    model->release();
}
