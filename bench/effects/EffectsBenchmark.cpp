#include <benchmark/benchmark.h>

#include <chrono>

#include "ClothFixture.h"
#include "container/Array.h"
#include "physics/SphereObstacle.h"
#include "physics/SpringBreaker.h"
#include "physics/Wind.h"

namespace cloth = vardel::physics::cloth;
using Clock = std::chrono::steady_clock;

namespace {

constexpr float dt = 0.05f;
constexpr unsigned side = 50;

// The pinned 50 x 50 cloth with the demo's wind, ball and tearing on, as the demo sets them.
struct ClothWithEffects {
    ClothWithEffects() : ball(cloth::Vector(-5.0f, -5.0f, -480.0f), 150.0f)
    {
        cloth::build(solver, side, side);
        solver.recordsSprings = false;
        for (unsigned row = 0; row + 1 < side; ++row) {
            for (unsigned column = 0; column + 1 < side; ++column) {
                unsigned p = row * side + column, q = p + 1, r = p + side, s = r + 1;
                for (unsigned corner : {p, r, q, q, r, s}) {
                    triangles.resize(triangles.count + 1);
                    triangles[triangles.count - 1] = corner;
                }
            }
        }
        wind.triangles = &triangles;
        wind.direction.set(0.3f, 0.2f, 0.93f);
        wind.direction.normalise();
        wind.speed = 40.0f;
        wind.strength = 0.003f;
        wind.gustiness = 0.6f;
        wind.gustPeriod = 2.0f;
        breaker.ratio = 10.0f;
        solver.attach(&wind);
        solver.attach(&ball);
        solver.attach(&breaker);
    }
    ~ClothWithEffects()
    {
        solver.detach(&wind);
        solver.detach(&ball);
        solver.detach(&breaker);
    }

    cloth::Solver solver;
    vardel::container::Array<unsigned int> triangles;
    vardel::physics::Wind wind;
    vardel::physics::SphereObstacle ball;
    vardel::physics::SpringBreaker breaker;
};

// One step with wind, ball and tearing against one plain step of the same cloth, taken in turns
// so that both see the same load on a shared machine. Counters: each step's mean time and their
// ratio.
void effectsAgainstPlainStep(benchmark::State& state)
{
    // Both step over their packed springs, as the demo's cloth does.
    cloth::Solver plain;
    cloth::build(plain, side, side);
    plain.recordsSprings = false;
    ClothWithEffects effects;
    std::chrono::duration<double, std::micro> plainTime{0};
    std::chrono::duration<double, std::micro> effectsTime{0};
    for (auto _ : state) {
        auto start = Clock::now();
        plain.step(cloth::integrateWeight, dt);
        benchmark::ClobberMemory();
        auto middle = Clock::now();
        effects.solver.step(cloth::integrateWeight, dt);
        benchmark::ClobberMemory();
        effectsTime += Clock::now() - middle;
        plainTime += middle - start;
    }
    auto steps = static_cast<double>(state.iterations());
    state.counters["plain_us"] = plainTime.count() / steps;
    state.counters["effects_us"] = effectsTime.count() / steps;
    state.counters["ratio"] = effectsTime.count() / plainTime.count();
    state.counters["springs_left"] = static_cast<double>(effects.solver.springs.count);
}
BENCHMARK(effectsAgainstPlainStep)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(false);

} // namespace

BENCHMARK_MAIN();
