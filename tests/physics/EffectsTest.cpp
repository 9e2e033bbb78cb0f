#include "physics/Grab.h"
#include "physics/Relaxator.h"
#include "physics/SphereObstacle.h"
#include "physics/SpringBreaker.h"
#include "physics/Wind.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "ClothFixture.h"
#include "support/Expect.h"

namespace cloth = vardel::physics::cloth;
using vardel::container::Array;
using vardel::physics::Grab;
using vardel::physics::SphereObstacle;
using vardel::physics::SpringBreaker;
using vardel::physics::Wind;
using Solver = cloth::Solver;
using Vector = cloth::Vector;

using vardel::test::expectVector;

namespace {

void stay(vardel::physics::Weight<float, 3>*, const float*) {}

// Three weights 10 apart along x, joined in a chain, at rest, under the cloth's spring law.
void buildChain(Solver& solver)
{
    solver.setWeightCount(3);
    solver.addSpring(0, 1, 1.0f);
    solver.addSpring(1, 2, 1.0f);
    for (unsigned i = 0; i < 3; ++i)
        solver.weights[i].position.set(10.0f * static_cast<float>(i), 0, 0);
    solver.captureRest();
    solver.uniformStiffness = 60.0f;
}

// One triangle (0, 0, 0), (2, 0, 0), (0, 2, 0) of area 2 facing +z, free of springs.
struct Triangle {
    Triangle()
    {
        solver.setWeightCount(3);
        solver.weights[1].position.set(2, 0, 0);
        solver.weights[2].position.set(0, 2, 0);
        indices.resize(3);
        for (unsigned i = 0; i < 3; ++i)
            indices[i] = i;
        wind.triangles = &indices;
        wind.speed = 10.0f;
        wind.strength = 0.2f;
        solver.attach(&wind);
    }
    ~Triangle() { solver.detach(&wind); }

    Solver solver;
    Array<unsigned int> indices;
    Wind wind;
};

} // namespace

TEST(Grab, HeldWeightIsAtItsTargetAfterEveryStepAndLeavesWithItsLastMotion)
{
    Solver solver;
    buildChain(solver);
    Grab grab;
    solver.attach(&grab);
    grab.hold(solver, 0);
    for (int step = 1; step <= 5; ++step) {
        grab.moveTo(Vector(-2.0f * static_cast<float>(step), 1.0f, 0));
        solver.step(cloth::integrateWeight, 0.05f);
        expectVector(solver.weights[0].position, -2.0f * static_cast<float>(step), 1.0f, 0);
        // The stretched spring drags the neighbour after the held weight.
        EXPECT_LT(solver.weights[1].velocity.x, 0.0f) << "step " << step;
        EXPECT_LT(solver.weights[1].position.x, 10.0f);
    }
    // Each step moved it by (-2, 0, 0) in 0.05 time units.
    expectVector(solver.weights[0].velocity, -40.0f, 0, 0);
    grab.release(solver);
    EXPECT_FALSE(solver.weights[0].pinned);
    expectVector(solver.weights[0].velocity, -40.0f, 0, 0);
    solver.step(cloth::integrateWeight, 0.05f);
    EXPECT_LT(solver.weights[0].position.x, -10.0f) << "flies on once let go";
    solver.detach(&grab);
}

TEST(Grab, APinnedWeightStaysPinnedAndAtRestWhenLetGo)
{
    Solver solver;
    buildChain(solver);
    solver.weights[2].pinned = true;
    Grab grab;
    solver.attach(&grab);
    grab.hold(solver, 2);
    grab.moveTo(Vector(30, 0, 0));
    solver.step(cloth::integrateWeight, 0.05f);
    grab.hold(solver, 1) /* lets go of weight 2 first */;
    EXPECT_TRUE(solver.weights[2].pinned);
    expectVector(solver.weights[2].velocity, 0, 0, 0);
    expectVector(solver.weights[2].position, 30, 0, 0);
    EXPECT_TRUE(solver.weights[1].pinned) << "held";
    grab.release(solver);
    EXPECT_FALSE(solver.weights[1].pinned);
    solver.detach(&grab);
}

TEST(Wind, PushesACrossTriangleAlongItsNormalAndAnEdgeOnOneNotAtAll)
{
    Triangle square;
    square.wind.direction.set(0, 0, 1);
    square.solver.step(stay, 0.5f);
    // Force 0.2 x area 2 x speed 10 along +z, a third to each weight, over 0.5 time units.
    for (unsigned i = 0; i < 3; ++i)
        expectVector(square.solver.weights[i].velocity, 0, 0, 2.0f / 3.0f);

    // Air along the surface, in any direction within it.
    Triangle edgeOn;
    edgeOn.wind.direction.set(0.6f, 0.8f, 0);
    for (int step = 0; step < 10; ++step)
        edgeOn.solver.step(stay, 0.5f);
    for (unsigned i = 0; i < 3; ++i)
        expectVector(edgeOn.solver.weights[i].velocity, 0, 0, 0);

    // A triangle already moving with the air feels nothing.
    Triangle moving;
    moving.wind.direction.set(0, 0, 1);
    for (unsigned i = 0; i < 3; ++i)
        moving.solver.weights[i].velocity.set(0, 0, 10.0f);
    moving.solver.step(stay, 0.5f);
    expectVector(moving.solver.weights[0].velocity, 0, 0, 10.0f);

    // A pinned weight is never pushed, and stands still for the wind whatever its springs have piled
    // up in its velocity: the others feel the air as they would at rest.
    Triangle pinned;
    pinned.wind.direction.set(0, 0, 1);
    pinned.solver.weights[2].pinned = true;
    pinned.solver.weights[2].velocity.set(0, 0, 1000.0f);
    pinned.solver.step(stay, 0.5f);
    expectVector(pinned.solver.weights[0].velocity, 0, 0, 2.0f / 3.0f);
    expectVector(pinned.solver.weights[2].velocity, 0, 0, 1000.0f);
}

TEST(Wind, GustsAreSmoothBoundedAndTheSameForTheSameSeed)
{
    auto gusty = [](Wind& wind, std::uint64_t seed) {
        wind.direction.set(0, 1, 0);
        wind.speed = 20.0f;
        wind.gustiness = 0.5f;
        wind.gustPeriod = 2.0f;
        wind.seed = seed;
    };
    Wind wind;
    Wind same;
    Wind other;
    gusty(wind, 7);
    gusty(same, 7);
    gusty(other, 8);
    float least = 1e9f;
    float most = -1e9f;
    float steepest = 0.0f;
    int differing = 0;
    for (int i = 0; i < 2000; ++i) {
        float time = 0.05f * static_cast<float>(i);
        Vector air = wind.airVelocity(time);
        EXPECT_EQ(air.x, 0.0f);
        EXPECT_EQ(air.y, same.airVelocity(time).y);
        differing += air.y != other.airVelocity(time).y;
        least = std::min(least, air.y);
        most = std::max(most, air.y);
        steepest = std::max(steepest, std::fabs(wind.airVelocity(time + 0.05f).y - air.y));
    }
    EXPECT_GE(least, 10.0f);
    EXPECT_LE(most, 30.0f);
    EXPECT_GT(most - least, 10.0f) << "it gusts";
    // Eased knots 2 time units apart, at most 20 apart: no more than 0.75 per 0.05 time units.
    EXPECT_LT(steepest, 0.8f);
    EXPECT_GT(differing, 1900);

    // The attached wind's time runs on with the steps.
    Triangle square;
    gusty(square.wind, 7);
    square.solver.step(stay, 0.5f);
    square.solver.step(stay, 0.5f);
    EXPECT_EQ(square.wind.time, 1.0f);
}

TEST(Wind, EveryTriangleFeelsTheAirAsTheWeightsMovedAtTheStartOfTheStep)
{
    // Two triangles sharing an edge, in either order: the same pushes, summed on the shared weights.
    Solver solvers[2];
    Array<unsigned int> orders[2];
    Wind winds[2];
    const unsigned int triangles[2][6] = {{0, 1, 2, 1, 3, 2}, {1, 3, 2, 0, 1, 2}};
    for (int k = 0; k < 2; ++k) {
        solvers[k].setWeightCount(4);
        solvers[k].weights[1].position.set(2, 0, 0);
        solvers[k].weights[2].position.set(0, 2, 0);
        solvers[k].weights[3].position.set(2, 2, 1);
        solvers[k].weights[3].mass = 2.0f;
        orders[k].resize(6);
        for (unsigned i = 0; i < 6; ++i)
            orders[k][i] = triangles[k][i];
        winds[k].triangles = &orders[k];
        winds[k].direction.set(0, 0, 1);
        winds[k].speed = 10.0f;
        winds[k].strength = 0.2f;
        solvers[k].attach(&winds[k]);
        solvers[k].step(stay, 0.5f);
        solvers[k].detach(&winds[k]);
    }
    for (unsigned i = 0; i < 4; ++i) {
        EXPECT_EQ(solvers[0].weights[i].velocity.x, solvers[1].weights[i].velocity.x) << i;
        EXPECT_EQ(solvers[0].weights[i].velocity.z, solvers[1].weights[i].velocity.z) << i;
    }
    // Weight 0 is in the flat triangle only: 2/3 along +z, as a lone square triangle.
    expectVector(solvers[0].weights[0].velocity, 0, 0, 2.0f / 3.0f);
    // Weight 3, of mass 2, takes half the velocity change of weight 1 from their tilted triangle.
    EXPECT_GT(solvers[0].weights[1].velocity.z, 2.0f / 3.0f);
    EXPECT_FLOAT_EQ(solvers[0].weights[3].velocity.z * 2.0f, solvers[0].weights[1].velocity.z - 2.0f / 3.0f);
}

namespace {

// The wind's velocity changes as adding each triangle's push to its corners in turn computes them.
std::vector<Vector> scatteredPushes(const Solver& solver, const Wind& wind, float dt)
{
    Vector air = wind.airVelocity(wind.time);
    std::vector<Vector> pushes(solver.weights.count, Vector(0, 0, 0));
    auto motion = [&](unsigned i) {
        return solver.weights[i].pinned ? Vector(0, 0, 0) : solver.weights[i].velocity;
    };
    const float share = wind.strength * 0.5f * dt / 3.0f;
    const float third = 1.0f / 3.0f;
    const auto& index = *wind.triangles;
    for (unsigned t = 0; t + 2 < index.count; t += 3) {
        const Vector& pa = solver.weights[index[t]].position;
        Vector normal = Vector::cross(Vector::difference(solver.weights[index[t + 1]].position, pa),
                                      Vector::difference(solver.weights[index[t + 2]].position, pa));
        float twiceArea = normal.length();
        if (twiceArea == 0.0f)
            continue;
        Vector moving = motion(index[t]);
        moving.add(motion(index[t + 1]));
        moving.add(motion(index[t + 2]));
        Vector relative(air.x - third * moving.x, air.y - third * moving.y, air.z - third * moving.z);
        float normalSpeed = relative.x * normal.x + relative.y * normal.y + relative.z * normal.z;
        Vector push = Vector::scaled(share * normalSpeed / twiceArea, normal);
        for (unsigned corner = 0; corner < 3; ++corner)
            pushes[index[t + corner]].add(push);
    }
    std::vector<Vector> velocities;
    for (unsigned i = 0; i < solver.weights.count; ++i) {
        const auto& weight = solver.weights[i];
        Vector velocity = weight.velocity;
        if (!weight.pinned && weight.mass != 0.0f)
            velocity.add(weight.mass == 1.0f ? pushes[i] : Vector::scaled(1.0f / weight.mass, pushes[i]));
        velocities.push_back(velocity);
    }
    return velocities;
}

} // namespace

TEST(Wind, PushesHaveTheBitsOfAddingEachTriangleToItsCornersInTurn)
{
    // A cloth whose side is no multiple of four, crumpled and moving, with weights of other masses,
    // a pinned one, a triangle of no area and one that names a weight twice.
    Solver solver;
    cloth::build(solver, 23, 13);
    Array<unsigned int> triangles;
    auto addTriangle = [&](unsigned a, unsigned b, unsigned c) {
        for (unsigned corner : {a, b, c}) {
            triangles.resize(triangles.count + 1);
            triangles[triangles.count - 1] = corner;
        }
    };
    for (unsigned row = 0; row + 1 < 13; ++row) {
        for (unsigned column = 0; column + 1 < 23; ++column) {
            unsigned i = row * 23 + column;
            addTriangle(i, i + 1, i + 23);
            addTriangle(i + 1, i + 24, i + 23);
        }
    }
    addTriangle(40, 40, 41);
    addTriangle(7, 8, 7 + 23);
    for (unsigned i = 0; i < solver.weights.count; ++i) {
        auto& weight = solver.weights[i];
        weight.position.z = float((i * 7919) % 29) * 0.3f;
        weight.velocity.set(float(i % 3), float(i % 7) * 0.5f, -float(i % 5));
        weight.mass = i % 11 == 0 ? 2.5f : (i == 100 ? 0.0f : 1.0f);
    }
    solver.weights[8].position = solver.weights[7].position;
    solver.weights[8].position.x += 1.0f;
    solver.weights[30].position = solver.weights[7].position;
    solver.weights[30].position.x += 2.0f;
    solver.weights[50].pinned = true;
    Wind wind;
    wind.triangles = &triangles;
    wind.direction.set(0.6f, 0.0f, 0.8f);
    wind.speed = 20.0f;
    wind.strength = 0.1f;
    wind.gustiness = 0.5f;

    auto expectScattered = [&](const char* when) {
        std::vector<Vector> expected = scatteredPushes(solver, wind, 0.05f);
        wind.beforeStep(solver, 0.05f);
        int differing = 0;
        for (unsigned i = 0; i < solver.weights.count; ++i)
            differing += std::memcmp(&solver.weights[i].velocity, &expected[i], sizeof expected[i]) != 0;
        EXPECT_EQ(differing, 0) << when;
    };
    expectScattered("at first");
    // Triangles taken out, as a tear does, and then others in their place, as many as before.
    triangles.resize(triangles.count - 3 * 40);
    expectScattered("after triangles went");
    for (unsigned k = 0; k < 60; ++k)
        triangles[k] = (triangles[k] * 5 + 3) % solver.weights.count;
    expectScattered("after triangles changed");

    // A triangle naming a weight the solver does not have: nothing is pushed, nothing else is read.
    triangles[3] = solver.weights.count;
    std::vector<Vector> before;
    for (const auto& weight : solver.weights)
        before.push_back(weight.velocity);
    wind.beforeStep(solver, 0.05f);
    for (unsigned i = 0; i < solver.weights.count; ++i)
        EXPECT_EQ(std::memcmp(&solver.weights[i].velocity, &before[i], sizeof before[i]), 0) << i;
}

TEST(SphereObstacle, AWeightInsideEndsOnTheSurfaceWithNoInwardVelocity)
{
    Solver solver;
    solver.setWeightCount(4);
    solver.weights[0].position.set(0, 0, 0.5f);
    solver.weights[0].velocity.set(1, 0, -3);
    solver.weights[1].position.set(0, 3, 0);
    solver.weights[1].velocity.set(0, -1, 0);
    solver.weights[2].position.set(0.5f, 0, 0);
    solver.weights[2].pinned = true;
    // Leaving already: only the rub along the surface slows it.
    solver.weights[3].position.set(-1, 0, 0);
    solver.weights[3].velocity.set(-2, 4, 0);
    SphereObstacle ball(Vector(0, 0, 0), 2.0f);
    solver.attach(&ball);
    solver.step(stay, 0.1f);
    expectVector(solver.weights[0].position, 0, 0, 2);
    expectVector(solver.weights[0].velocity, 0.95f, 0, 0);
    expectVector(solver.weights[1].position, 0, 3, 0);
    expectVector(solver.weights[1].velocity, 0, -1, 0);
    expectVector(solver.weights[2].position, 0.5f, 0, 0);
    expectVector(solver.weights[3].position, -2, 0, 0);
    expectVector(solver.weights[3].velocity, -2, 0.95f * 4, 0);
    solver.detach(&ball);
}

TEST(SphereObstacle, AFallingClothDrapesOverTheBall)
{
    Solver solver;
    cloth::build(solver, 20, 20);
    for (unsigned corner : {0u, 19u, 380u, 399u})
        solver.setPinned(corner, false);
    // Centred under the cloth (which spans -100 to 90), its top 30 below it.
    SphereObstacle ball(Vector(-5, -5, -80), 50.0f);
    solver.attach(&ball);
    for (int step = 0; step < 400; ++step)
        solver.step(cloth::integrateWeight, 0.05f);
    solver.detach(&ball);
    const Vector& middle = solver.weights[10 * 20 + 10].position;
    EXPECT_NEAR(middle.z, -30.0f, 2.0f) << "rests on the top";
    for (const auto& weight : solver.weights) {
        Vector out = Vector::difference(weight.position, ball.centre);
        EXPECT_GE(out.length(), 50.0f - 1e-3f);
    }
    EXPECT_LT(solver.weights[0].position.z, -60.0f) << "the corners hang down";
}

TEST(SpringBreaker, BreaksAnOverstretchedSpringOnceAndForGood)
{
    Solver solver;
    buildChain(solver);
    solver.addSpring(0, 2, 1.0f);
    solver.springs.last()->value.restLength = 20.0f;
    SpringBreaker breaker;
    solver.attach(&breaker);
    // 15 long at rest 10: stretched, not broken.
    solver.weights[2].position.x = 25.0f;
    solver.step(stay, 0.05f);
    EXPECT_EQ(solver.springs.count, 3);
    EXPECT_EQ(breaker.brokenEnds.count, 0u);

    // Spring (1, 2) now 21 long at rest 10, beyond twice its rest length; (0, 2) at 31/20 is not.
    solver.weights[2].position.x = 31.0f;
    solver.step(stay, 0.05f);
    ASSERT_EQ(solver.springs.count, 2);
    ASSERT_EQ(breaker.brokenEnds.count, 2u);
    EXPECT_EQ(breaker.brokenEnds[0], 1u);
    EXPECT_EQ(breaker.brokenEnds[1], 2u);
    // Weight 1 keeps only its spring to weight 0; weight 2 only its spring to weight 0.
    EXPECT_EQ(solver.weights[1].firstSpring, &solver.springs.first->value);
    EXPECT_EQ(solver.weights[1].firstSpring->nextAtB, nullptr);
    EXPECT_EQ(solver.weights[2].firstSpring, &solver.springs.last()->value);
    EXPECT_EQ(solver.weights[2].firstSpring->nextAtB, nullptr);

    // Weight 1 sits at rest from weight 0 and feels nothing from weight 2 any more.
    breaker.brokenEnds.resize(0);
    for (auto& weight : solver.weights)
        weight.velocity.setZero();
    solver.step(stay, 0.05f);
    expectVector(solver.weights[1].velocity, 0, 0, 0);
    EXPECT_EQ(breaker.brokenEnds.count, 0u) << "broken once";
    solver.detach(&breaker);
}

TEST(SpringBreaker, FollowsANewSolverAndANewRatio)
{
    SpringBreaker breaker;
    auto* first = new Solver;
    buildChain(*first);
    first->attach(&breaker);
    first->step(stay, 0.05f);
    first->detach(&breaker);
    first->release();

    // Another solver with as many springs (perhaps where the first one was), one shorter at rest.
    auto* next = new Solver;
    Solver& second = *next;
    buildChain(second);
    second.springs.first->value.restLength = 4.0f;
    second.attach(&breaker);
    second.step(stay, 0.05f);
    EXPECT_EQ(second.springs.count, 1) << "10 is beyond twice 4";
    breaker.ratio = 0.5f;
    second.step(stay, 0.05f);
    EXPECT_EQ(second.springs.count, 0) << "10 is beyond half of 10";
    EXPECT_EQ(breaker.brokenEnds.count, 4u);
    second.detach(&breaker);
    next->release();
}

TEST(SpringBreaker, APulledClothTearsAroundTheHand)
{
    Solver solver;
    cloth::build(solver, 20, 20);
    Grab grab;
    SpringBreaker breaker;
    solver.attach(&grab);
    solver.attach(&breaker);
    grab.hold(solver, 210);
    Vector start = solver.weights[210].position;
    // Slowly at first, so that most steps leave every spring far from breaking, then fast. After
    // every step, whether the breaker measured the springs or knew it need not, none is left
    // beyond twice its rest length.
    float height = 0.0f;
    for (int step = 1; step <= 140; ++step) {
        height += step <= 100 ? 1.0f : 20.0f;
        grab.moveTo(Vector(start.x, start.y, height));
        solver.step(cloth::integrateWeight, 0.05f);
        int beyond = 0;
        for (const auto& spring : solver.springs)
            beyond += Vector::difference(spring.weightA->position, spring.weightB->position).length() >
                      2.0f * spring.restLength;
        ASSERT_EQ(beyond, 0) << "step " << step;
    }
    EXPECT_GT(breaker.brokenEnds.count, 0u);
    EXPECT_EQ(solver.springs.count + static_cast<int>(breaker.brokenEnds.count / 2), 19 * 20 * 2 + 2 * 19 * 19);
    // Every spring left is within the ratio as last measured, and the chains hold only those.
    int chained = 0;
    for (const auto& weight : solver.weights) {
        for (auto* spring = weight.firstSpring; spring;
             spring = spring->weightA == &weight ? spring->nextAtA : spring->nextAtB)
            ++chained;
    }
    EXPECT_EQ(chained, 2 * solver.springs.count);
    solver.detach(&breaker);
    solver.detach(&grab);
}

TEST(Effects, WithNoneAttachedTheClothStepsBitForBitAsThePlainLoop)
{
    Solver solver;
    cloth::build(solver, 50, 50);
    cloth::PlainSolver plain(solver);
    Wind wind;
    SphereObstacle ball(Vector(0, 0, -100), 80.0f);
    SpringBreaker breaker;
    Grab grab;
    // Attached and taken off again: nothing of them stays behind.
    solver.attach(&wind);
    solver.attach(&ball);
    solver.attach(&breaker);
    solver.attach(&grab);
    EXPECT_TRUE(solver.detach(&ball));
    EXPECT_FALSE(solver.detach(&ball));
    solver.detach(&wind);
    solver.detach(&breaker);
    solver.detach(&grab);
    EXPECT_EQ(solver.effects.count, 0u);
    for (int step = 0; step < 1000; ++step) {
        solver.step(cloth::integrateWeight, 0.05f);
        plain.step(0.05f);
    }
    int mismatches = 0;
    for (unsigned i = 0; i < 2500; ++i) {
        const Vector& p = solver.weights[i].position;
        const Vector& q = plain.positions[i];
        mismatches += p.x != q.x || p.y != q.y || p.z != q.z;
    }
    EXPECT_EQ(mismatches, 0);
}
