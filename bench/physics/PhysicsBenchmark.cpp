#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "ClothFixture.h"
#include "BestRuns.h"
#include "AllocationCount.h"

namespace cloth = vardel::physics::cloth;

namespace {

constexpr float dt = 0.05f;
constexpr int sides[] = {50, 100, 200, 400};

// The thread's own CPU time: on a machine shared with other work, wall time also counts the time
// other processes hold the core.
double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Four times a core's 2 MB second-level cache, read and written: after it, a step finds nothing of
// its data in the core's own caches, as after a frame's rasterisation.
void evictCaches()
{
    static std::vector<unsigned char> sweep(8u << 20);
    for (std::size_t i = 0; i < sweep.size(); i += 64)
        ++sweep[i];
    benchmark::DoNotOptimize(sweep.data());
    benchmark::ClobberMemory();
}

// Times one step per iteration, cold (after evictCaches) when state.range(1) is 1.
template <typename Step>
void timeSteps(benchmark::State& state, Step&& step)
{
    bool cold = state.range(1) != 0;
    for (auto _ : state) {
        if (cold)
            evictCaches();
        double start = threadSeconds();
        step();
        benchmark::ClobberMemory();
        state.SetIterationTime(threadSeconds() - start);
    }
}

// One step of the pinned side x side cloth through the solver, recording every spring.
void solverStep(benchmark::State& state)
{
    auto side = static_cast<unsigned>(state.range(0));
    cloth::Solver solver;
    cloth::build(solver, side, side);
    timeSteps(state, [&] { solver.step(cloth::integrateWeight, dt); });
    state.counters["springs"] = static_cast<double>(solver.springs.count);
}

// The same over the solver's packed copy of its springs, which records none, as the demo steps.
void packedStep(benchmark::State& state)
{
    auto side = static_cast<unsigned>(state.range(0));
    cloth::Solver solver;
    cloth::build(solver, side, side);
    solver.recordsSprings = false;
    solver.step(cloth::integrateWeight, dt);
    timeSteps(state, [&] { solver.step(cloth::integrateWeight, dt); });
}

// The same step as a plain loop over contiguous arrays.
void plainStep(benchmark::State& state)
{
    auto side = static_cast<unsigned>(state.range(0));
    cloth::Solver solver;
    cloth::build(solver, side, side);
    cloth::PlainSolver plain(solver);
    timeSteps(state, [&] { plain.step(dt); });
}

void sizes(benchmark::internal::Benchmark* benchmark)
{
    for (int side : sides)
        for (int cold : {0, 1})
            benchmark->Args({side, cold});
}

BENCHMARK(solverStep)->Apply(sizes)->UseManualTime()->MinTime(0.05)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(packedStep)->Apply(sizes)->UseManualTime()->MinTime(0.05)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(plainStep)->Apply(sizes)->UseManualTime()->MinTime(0.05)->Unit(benchmark::kMicrosecond)->Repetitions(3);

// Heap bytes of a freshly built cloth: the weight array per weight, the spring pool's blocks per
// spring, and what a step without records adds for its packed copy, per weight in all.
void printHeap(int side)
{
    auto* solver = new cloth::Solver;
    std::size_t before = allocatedBytes();
    cloth::build(*solver, static_cast<unsigned>(side), static_cast<unsigned>(side));
    std::size_t built = allocatedBytes() - before;
    std::size_t weightBytes = solver->weights.capacity * sizeof(vardel::physics::Weight<float, 3>);
    std::size_t springBytes = built - weightBytes;
    solver->recordsSprings = false;
    solver->step(cloth::integrateWeight, dt);
    std::size_t packBytes = allocatedBytes() - before - built;
    double weights = solver->weights.count;
    std::printf("side %3d: heap %.1f bytes per weight, %.1f per spring, %.1f per weight in all; the packed copy "
                "%.1f more per weight\n",
                side, static_cast<double>(weightBytes) / weights,
                static_cast<double>(springBytes) / solver->springs.count, static_cast<double>(built) / weights,
                static_cast<double>(packBytes) / weights);
    solver->release();
}

} // namespace

int main(int argc, char** argv)
{
    BestRuns reporter;
    if (!runInterleaved(argc, argv, reporter))
        return 1;

    std::printf("cloth step, best of repetitions, thread CPU time (us); cold = after an 8 MB cache sweep\n");
    for (int side : sides) {
        for (int cold : {0, 1}) {
            std::string args = std::to_string(side) + "/" + std::to_string(cold);
            double solver = reporter.find("solverStep/" + args).real;
            double packed = reporter.find("packedStep/" + args).real;
            double plain = reporter.find("plainStep/" + args).real;
            if (solver > 0 && packed > 0 && plain > 0)
                std::printf("side %3d %s: plain arrays %9.1f; recording solver %9.1f, ratio %.3f; packed solver %9.1f, "
                            "ratio %.3f\n",
                            side, cold ? "cold" : "warm", plain, solver, solver / plain, packed, packed / plain);
        }
    }
    for (int side : sides)
        printHeap(side);
    return 0;
}
