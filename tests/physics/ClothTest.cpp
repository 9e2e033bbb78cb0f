#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "AllocationCount.h"
#include "ClothFixture.h"

namespace cloth = vardel::physics::cloth;

TEST(Cloth, BuildsFromBlocksAndStepsWithoutAllocating)
{
    cloth::Solver solver;
    int before = allocationCount();
    cloth::build(solver, 50, 50);
    EXPECT_EQ(solver.weights.count, 2500u);
    EXPECT_EQ(solver.springs.count, 9702);
    // One array plus sixteen more spring blocks: 64, 64, 64, then a third of the slots so far.
    EXPECT_EQ(allocationCount() - before, 17);
    EXPECT_EQ(solver.springs.pool.slotCount, 10722);

    before = allocationCount();
    for (int i = 0; i < 10; ++i)
        solver.step(cloth::integrateWeight, 0.05f);
    EXPECT_EQ(allocationCount(), before);
}

TEST(Cloth, SolverAgreesWithThePlainLoopOverAThousandSteps)
{
    cloth::Solver solver;
    cloth::build(solver, 50, 50);
    cloth::PlainSolver plain(solver);
    ASSERT_EQ(plain.restLengths.size(), 9702u);
    EXPECT_FLOAT_EQ(plain.restLengths[2], 10.0f * std::sqrt(2.0f));

    for (int step = 0; step < 1000; ++step) {
        solver.step(cloth::integrateWeight, 0.05f);
        plain.step(0.05f);
    }
    int mismatches = 0;
    int nans = 0;
    for (unsigned i = 0; i < 2500; ++i) {
        const auto& p = solver.weights[i].position;
        const auto& q = plain.positions[i];
        if (p.x != q.x || p.y != q.y || p.z != q.z)
            ++mismatches;
        if (std::isnan(p.x) || std::isnan(p.y) || std::isnan(p.z))
            ++nans;
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(nans, 0);
    EXPECT_EQ(solver.weights[49].position.y, 240.0f);
    EXPECT_EQ(solver.weights[2499].position.z, 0.0f);
    EXPECT_LT(solver.weights[1275].position.z, -10.0f) << "the middle of the cloth sags";
}

TEST(Cloth, SolverAgreesWithThePlainLoopForAnySpringOrder)
{
    // Springs in random order, so that a weight's springs are rarely neighbours in the list.
    std::mt19937 random(11);
    std::uniform_real_distribution<float> coordinate(-20.0f, 20.0f);
    std::uniform_int_distribution<unsigned> index(0, 29);
    cloth::Solver solver;
    solver.setWeightCount(30);
    for (int i = 0; i < 200; ++i) {
        unsigned a = index(random);
        solver.addSpring(a, (a + 1 + index(random) % 29) % 30, 1.0f);
    }
    for (auto& weight : solver.weights)
        weight.position.set(coordinate(random), coordinate(random), coordinate(random));
    solver.captureRest();
    for (auto& weight : solver.weights)
        weight.position.x += coordinate(random);
    solver.uniformStiffness = 3.0f;
    solver.damping = 0.2f;
    cloth::PlainSolver plain(solver);
    for (int step = 0; step < 50; ++step) {
        solver.step(cloth::integrateWeight, 0.01f);
        plain.step(0.01f);
    }
    for (unsigned i = 0; i < 30; ++i)
        EXPECT_EQ(solver.weights[i].velocity.x, plain.velocities[i].x) << "weight " << i;
}
