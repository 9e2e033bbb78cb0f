#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "ClothFixture.h"
#include "physics/Grab.h"
#include "physics/SpringBreaker.h"

namespace cloth = vardel::physics::cloth;
using vardel::physics::Grab;
using vardel::physics::SpringBreaker;

namespace {

// Weights whose position or velocity differ in any bit.
int differences(const cloth::Solver& solver, const cloth::Solver& reference)
{
    if (solver.weights.count != reference.weights.count)
        return -1;
    int count = 0;
    for (unsigned i = 0; i < solver.weights.count; ++i) {
        const auto& w = solver.weights[i];
        const auto& r = reference.weights[i];
        count += std::memcmp(&w.position, &r.position, sizeof w.position) != 0 ||
                 std::memcmp(&w.velocity, &r.velocity, sizeof w.velocity) != 0;
    }
    return count;
}

// A cloth stepped by the list walk, which records every spring, and the same cloth stepped over
// the packed copy.
struct Pair {
    Pair(unsigned width, unsigned height)
    {
        for (cloth::Solver* solver : {&listed, &packed})
            cloth::build(*solver, width, height);
        packed.recordsSprings = false;
    }

    void steps(int count)
    {
        for (int i = 0; i < count; ++i) {
            listed.step(cloth::integrateWeight, 0.05f);
            packed.step(cloth::integrateWeight, 0.05f);
        }
    }

    template <typename Change>
    void both(Change change)
    {
        change(listed);
        change(packed);
    }

    cloth::Solver listed;
    cloth::Solver packed;
};

// Masses and stiffnesses that differ from spring to spring, for the per-spring law.
void varyForPerSpringLaw(cloth::Solver& solver)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<float> mass(0.5f, 2.0f);
    std::uniform_real_distribution<float> stiffness(20.0f, 80.0f);
    for (auto& weight : solver.weights)
        weight.mass = mass(random);
    for (auto& spring : solver.springs)
        spring.stiffness = stiffness(random);
    solver.uniformStiffness = 0.0f;
}

} // namespace

TEST(PackedStep, MatchesThePlainLoopBitForBitOverAThousandSteps)
{
    for (auto [width, height] : {std::pair{50u, 50u}, std::pair{37u, 12u}, std::pair{2u, 90u}}) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        Pair pair(width, height);
        cloth::PlainSolver plain(pair.packed);
        for (int step = 0; step < 1000; ++step) {
            pair.packed.step(cloth::integrateWeight, 0.05f);
            plain.step(0.05f);
        }
        int mismatches = 0;
        for (unsigned i = 0; i < width * height; ++i) {
            const auto& w = pair.packed.weights[i];
            mismatches += std::memcmp(&w.position, &plain.positions[i], sizeof w.position) != 0 ||
                          std::memcmp(&w.velocity, &plain.velocities[i], sizeof w.velocity) != 0;
        }
        EXPECT_EQ(mismatches, 0);
        EXPECT_EQ(pair.packed.weights[0].position.x, plain.positions[0].x) << "the pinned corner stays";
        EXPECT_LT(pair.packed.weights[width * (height / 2) + width / 2].position.z, -1.0f) << "the cloth sags";
    }
}

TEST(PackedStep, MatchesTheListWalkUnderThePerSpringLawWithoutRecordingSprings)
{
    for (auto [width, height] : {std::pair{50u, 50u}, std::pair{23u, 41u}}) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        Pair pair(width, height);
        pair.both(varyForPerSpringLaw);
        // A weight of zero mass takes no impulse on either path.
        pair.both([](cloth::Solver& solver) { solver.weights[7].mass = 0.0f; });
        pair.steps(1000);
        EXPECT_EQ(differences(pair.packed, pair.listed), 0);
        EXPECT_NE(pair.listed.weights[width + 1].velocity.z, 0.0f);

        // The packed step leaves every spring as captureRest left it.
        const auto& spring = pair.packed.springs.first->value;
        EXPECT_EQ(spring.length, spring.restLength);
        EXPECT_EQ(spring.force.x, 0.0f);
        EXPECT_NE(pair.listed.springs.first->value.length, pair.listed.springs.first->value.restLength);
    }
}

TEST(PackedStep, FollowsSpringsAndWeightsChangedBetweenSteps)
{
    Pair pair(30, 20);
    pair.steps(100);

    // Springs added later, across the cloth and from a weight to itself.
    pair.both([](cloth::Solver& solver) {
        solver.addSpring(5, 590, 1.0f);
        solver.addSpring(300, 300, 1.0f);
        solver.springs.last()->value.restLength = 1.0f;
        solver.springs.last()->previous->value.restLength = 400.0f;
    });
    pair.steps(100);
    EXPECT_EQ(differences(pair.packed, pair.listed), 0) << "after springs were added";

    // Springs taken out, as a tear does.
    pair.both([](cloth::Solver& solver) {
        unsigned index = 0;
        solver.removeSprings([&](const auto&) { return index++ % 7 == 3; });
    });
    pair.steps(100);
    EXPECT_EQ(differences(pair.packed, pair.listed), 0) << "after springs were removed";

    // A rest length written directly and announced.
    pair.both([](cloth::Solver& solver) {
        solver.springs.first->next->value.restLength = 2.0f;
        solver.springsChanged();
    });
    pair.steps(100);
    EXPECT_EQ(differences(pair.packed, pair.listed), 0) << "after a rest length was written";

    // A new cloth in the same solvers, with more weights than before.
    pair.both([](cloth::Solver& solver) { cloth::build(solver, 41, 33); });
    pair.steps(1000);
    EXPECT_EQ(differences(pair.packed, pair.listed), 0) << "after the weights were set again";
}

TEST(PackedStep, TearsAsTheListWalkDoes)
{
    Pair pair(20, 20);
    Grab grabs[2];
    SpringBreaker breakers[2];
    cloth::Solver* solvers[] = {&pair.listed, &pair.packed};
    for (int i = 0; i < 2; ++i) {
        solvers[i]->attach(&grabs[i]);
        solvers[i]->attach(&breakers[i]);
        grabs[i].hold(*solvers[i], 210);
    }
    cloth::Vector start = pair.listed.weights[210].position;
    for (int step = 1; step <= 40; ++step) {
        for (Grab& grab : grabs)
            grab.moveTo(cloth::Vector(start.x, start.y, 20.0f * static_cast<float>(step)));
        pair.steps(1);
    }
    EXPECT_GT(breakers[0].brokenEnds.count, 0u);
    EXPECT_EQ(breakers[1].brokenEnds.count, breakers[0].brokenEnds.count);
    EXPECT_EQ(pair.packed.springs.count, pair.listed.springs.count);
    EXPECT_EQ(differences(pair.packed, pair.listed), 0);
    for (int i = 0; i < 2; ++i) {
        solvers[i]->detach(&breakers[i]);
        solvers[i]->detach(&grabs[i]);
    }
}

TEST(PackedStep, MatchesTheListWalkOnSpringsInNoParticularOrder)
{
    // Springs between random weights in random order: ends far apart in the list and in the weight
    // array, pairs joined twice, weights joined to themselves, and weights with no spring at all.
    for (bool perSpring : {false, true}) {
        SCOPED_TRACE(perSpring ? "per-spring law" : "uniform law");
        cloth::Solver listed;
        cloth::Solver packed;
        std::mt19937 random(11);
        std::uniform_int_distribution<unsigned> weight(0, 1201);
        std::uniform_real_distribution<float> coordinate(-50.0f, 50.0f);
        std::uniform_real_distribution<float> stiffness(10.0f, 40.0f);
        std::vector<std::pair<unsigned, unsigned>> ends;
        for (int k = 0; k < 3000; ++k)
            ends.emplace_back(weight(random), k % 97 == 0 ? ~0u : weight(random));
        float positions[1202][3];
        for (auto& p : positions)
            for (float& c : p)
                c = coordinate(random);
        for (cloth::Solver* solver : {&listed, &packed}) {
            solver->setWeightCount(1202);
            for (unsigned i = 0; i < 1202; ++i)
                solver->weights[i].position.set(positions[i][0], positions[i][1], positions[i][2]);
            std::mt19937 same(3);
            for (auto [a, b] : ends)
                solver->addSpring(a, b == ~0u ? a : b, stiffness(same));
            solver->captureRest();
            solver->gravity.set(0.0f, 0.0f, -9.8f);
            solver->uniformStiffness = perSpring ? 0.0f : 30.0f;
            solver->damping = 0.5f;
            solver->weights[1201].pinned = true;
            for (unsigned i = 0; i < 1202; i += 5)
                solver->weights[i].mass = perSpring ? 0.5f + static_cast<float>(i % 7) : 1.0f;
        }
        packed.recordsSprings = false;
        // Out of rest, so that every spring pulls.
        for (cloth::Solver* solver : {&listed, &packed})
            for (auto& spring : solver->springs)
                spring.restLength *= 0.9f;
        packed.springsChanged();
        for (int step = 0; step < 200; ++step) {
            listed.step(cloth::integrateWeight, 0.01f);
            packed.step(cloth::integrateWeight, 0.01f);
        }
        EXPECT_EQ(differences(packed, listed), 0);
        EXPECT_NE(listed.weights[weight(random)].velocity.x, 0.0f);
    }
}
