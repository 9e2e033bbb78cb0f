#include "physics/Relaxator.h"
#include "support/Expect.h"

#include <gtest/gtest.h>

#include <cmath>

using Solver = vardel::physics::Relaxator<float, 3>;
using WeightF = vardel::physics::Weight<float, 3>;
using SpringF = vardel::physics::Spring<float, 3>;
using Vector = vardel::math::Vector3<float>;

using vardel::test::expectVector;

namespace {

int callbacks = 0;

void move(WeightF* weight, const float* dt)
{
    ++callbacks;
    weight->position.add(Vector::scaled(*dt, weight->velocity));
}

void stay(WeightF*, const float*)
{
    ++callbacks;
}

// Weight 0 at the origin, weight 1 at (2, 0, 0), one spring of stiffness 2 at rest length 1.
class TwoWeights : public testing::Test {
protected:
    void SetUp() override
    {
        callbacks = 0;
        solver.setWeightCount(2);
        solver.addSpring(0, 1, 2.0f);
        solver.weights[1].position.set(2, 0, 0);
        solver.weights[1].velocity.set(5, 5, 5);
        solver.captureRest();
        spring().restLength = 1.0f;
    }

    SpringF& spring() { return solver.springs.first->value; }

    Solver solver;
};

} // namespace

TEST(Relaxator, BuildsSpringChainsAndStartsOverOnSetWeightCount)
{
    Solver solver;
    EXPECT_EQ(solver.className(), "Object:Relaxator");
    callbacks = 0;
    solver.step(stay, 0.05f);
    EXPECT_EQ(callbacks, 0);

    solver.setWeightCount(3);
    EXPECT_EQ(solver.weights[2].className(), "Object:Weight");
    EXPECT_EQ(solver.weights[2].mass, 1.0f);
    EXPECT_EQ(solver.weights[2].coefficient, 1.0f);
    solver.addSpring(0, 1, 1.0f);
    solver.addSpring(0, 2, 3.0f);
    SpringF* first = &solver.springs.first->value;
    SpringF* second = &solver.springs.last()->value;
    EXPECT_EQ(second->stiffness, 3.0f);
    EXPECT_EQ(second->weightB, &solver.weights[2]);
    EXPECT_EQ(solver.weights[0].firstSpring, second);
    EXPECT_EQ(second->nextAtA, first);
    EXPECT_EQ(first->nextAtA, nullptr);
    EXPECT_EQ(solver.weights[1].firstSpring, first);
    EXPECT_EQ(first->nextAtB, nullptr);

    solver.weights[0].position.set(1, 2, 3);
    solver.setWeightCount(2);
    EXPECT_EQ(solver.springs.count, 0);
    EXPECT_EQ(solver.weights[0].firstSpring, nullptr);
    expectVector(solver.weights[0].position, 0, 0, 0);
}

TEST_F(TwoWeights, CaptureRestMeasuresAndStops)
{
    solver.captureRest();
    EXPECT_FLOAT_EQ(spring().restLength, 2.0f);
    EXPECT_FLOAT_EQ(spring().length, 2.0f);
    expectVector(solver.weights[1].velocity, 0, 0, 0);
    expectVector(solver.weights[1].position, 2, 0, 0);
}

TEST_F(TwoWeights, PerSpringLawUsesStiffnessAndMasses)
{
    solver.step(stay, 0.5f);
    expectVector(solver.weights[0].velocity, 1, 0, 0);
    expectVector(solver.weights[1].velocity, -1, 0, 0);
    expectVector(spring().force, 1, 0, 0);
    EXPECT_FLOAT_EQ(spring().length, 2.0f);

    solver.captureRest();
    spring().restLength = 1.0f;
    solver.weights[0].mass = 2.0f;
    solver.step(stay, 0.5f);
    expectVector(solver.weights[0].velocity, 0.5f, 0, 0);
}

TEST_F(TwoWeights, UniformLawIgnoresStiffnessAndMasses)
{
    solver.uniformStiffness = 2.0f;
    solver.weights[0].mass = 4.0f;
    solver.step(stay, 0.5f);
    expectVector(solver.weights[0].velocity, 1, 0, 0);
    expectVector(solver.weights[1].velocity, -1, 0, 0);
    expectVector(spring().force, -1, 0, 0);
}

TEST_F(TwoWeights, PinnedWeightGathersImpulsesButNeverMoves)
{
    solver.weights[0].pinned = true;
    solver.gravity.set(0, 0, -9.8f);
    for (int i = 0; i < 10; ++i)
        solver.step(move, 0.05f);
    EXPECT_EQ(callbacks, 10);
    expectVector(solver.weights[0].position, 0, 0, 0);
    EXPECT_GT(solver.weights[0].velocity.x, 0.0f);
    EXPECT_LT(solver.weights[1].position.z, 0.0f);
}

TEST(Relaxator, FreeWeightFallsUnderDampedGravity)
{
    Solver solver;
    solver.setWeightCount(2);
    solver.gravity.set(0, 0, -9.8f);
    solver.damping = 0.1f;
    solver.weights[1].velocity.set(1, 0, 0);
    solver.step(move, 0.05f);
    expectVector(solver.weights[0].velocity, 0, 0, -0.49f);
    expectVector(solver.weights[0].position, 0, 0, -0.0245f);
    // Gravity added in a step is damped only from the next step on.
    EXPECT_NEAR(solver.weights[1].velocity.x, 0.995012f, 1e-6f);
    EXPECT_FLOAT_EQ(solver.weights[1].velocity.z, -0.49f);
}

TEST(Relaxator, DegenerateSpringsAndMassesLeaveNoNaN)
{
    Solver solver;
    solver.setWeightCount(3);
    solver.addSpring(0, 1, 1.0f);
    solver.addSpring(1, 2, 1.0f);
    solver.weights[2].position.set(3, 0, 0);
    solver.captureRest();
    solver.weights[2].position.set(4, 0, 0);
    solver.weights[0].mass = 0.0f;
    // Weights 0 and 1 coincide: their spring has no direction and pushes neither.
    for (float uniform : {0.0f, 5.0f}) {
        solver.uniformStiffness = uniform;
        solver.step(stay, 0.1f);
        expectVector(solver.springs.first->value.force, 0, 0, 0);
    }
    expectVector(solver.weights[0].velocity, 0, 0, 0);
    EXPECT_GT(solver.weights[1].velocity.x, 0.0f);

    // Under the per-spring law a zero-mass end takes no impulse; the other end still does.
    solver.captureRest();
    solver.uniformStiffness = 0.0f;
    solver.weights[1].position.set(-1, 0, 0);
    solver.step(stay, 0.1f);
    expectVector(solver.weights[0].velocity, 0, 0, 0);
    EXPECT_GT(solver.weights[1].velocity.x, 0.0f);
}
