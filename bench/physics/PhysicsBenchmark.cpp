#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "ClothFixture.h"
#include "HeapBytes.h"

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

// Twice the core's 4 MB second-level cache, written and read: after it, a step finds nothing of
// its data in the core's caches, as after a frame's rasterisation.
void evictCaches()
{
    static std::vector<unsigned char> sweep(16u << 20);
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

// One step of the pinned side x side cloth through the solver.
void solverStep(benchmark::State& state)
{
    auto side = static_cast<unsigned>(state.range(0));
    cloth::Solver solver;
    cloth::build(solver, side, side);
    timeSteps(state, [&] { solver.step(cloth::integrateWeight, dt); });
    state.counters["springs"] = static_cast<double>(solver.springs.count);
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

BENCHMARK(solverStep)->Apply(sizes)->UseManualTime()->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(plainStep)->Apply(sizes)->UseManualTime()->Unit(benchmark::kMicrosecond)->Repetitions(3);

// Keeps the fastest repetition of each run for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            auto [entry, added] = best.try_emplace(run.run_name.function_name + "/" + run.run_name.args,
                                                   std::numeric_limits<double>::max());
            entry->second = std::min(entry->second, run.GetAdjustedRealTime());
        }
    }

    double find(const std::string& name) const
    {
        auto entry = best.find(name);
        return entry == best.end() ? 0.0 : entry->second;
    }

    std::map<std::string, double> best;
};

// Heap bytes per weight and per spring of a freshly built cloth: the weight array, then the spring
// pool's blocks and everything the solver keeps for its springs.
void printHeap(int side)
{
    auto* solver = new cloth::Solver;
    std::size_t before = heapBytes();
    cloth::build(*solver, static_cast<unsigned>(side), static_cast<unsigned>(side));
    solver->step(cloth::integrateWeight, dt);
    std::size_t weightBytes = solver->weights.capacity * sizeof(vardel::physics::Weight<float, 3>);
    std::size_t springBytes = heapBytes() - before - weightBytes;
    std::printf("side %3d: heap %.1f bytes per weight, %.1f bytes per spring, %.1f bytes per weight in all\n", side,
                static_cast<double>(weightBytes) / solver->weights.count,
                static_cast<double>(springBytes) / solver->springs.count,
                static_cast<double>(weightBytes + springBytes) / solver->weights.count);
    solver->release();
}

} // namespace

int main(int argc, char** argv)
{
    // Interleave the repetitions so that both sides see the same load on a shared machine; a flag
    // given on the command line comes later and wins.
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> arguments{argv[0], interleave};
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data()))
        return 1;

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("cloth step, best of repetitions, thread CPU time (us); cold = after a 16 MB cache sweep\n");
    for (int side : sides) {
        for (int cold : {0, 1}) {
            std::string args = std::to_string(side) + "/" + std::to_string(cold);
            double solver = reporter.find("solverStep/" + args);
            double plain = reporter.find("plainStep/" + args);
            if (solver > 0 && plain > 0)
                std::printf("side %3d %s: solver %9.1f, plain arrays %9.1f, ratio %.3f\n", side, cold ? "cold" : "warm",
                            solver, plain, solver / plain);
        }
    }
    for (int side : sides)
        printHeap(side);
    return 0;
}
