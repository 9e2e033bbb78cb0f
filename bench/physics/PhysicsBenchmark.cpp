#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "ClothFixture.h"

namespace cloth = vardel::physics::cloth;

namespace {

constexpr float dt = 0.05f;

// One step of the pinned 50 x 50 cloth through the solver.
void solverStep(benchmark::State& state)
{
    cloth::Solver solver;
    cloth::build(solver, 50, 50);
    for (auto _ : state) {
        solver.step(cloth::integrateWeight, dt);
        benchmark::DoNotOptimize(solver.weights.elements);
        benchmark::ClobberMemory();
    }
    state.counters["springs"] = static_cast<double>(solver.springs.count);
}

// The same step over contiguous arrays.
void plainStep(benchmark::State& state)
{
    cloth::Solver solver;
    cloth::build(solver, 50, 50);
    cloth::PlainSolver plain(solver);
    for (auto _ : state) {
        plain.step(dt);
        benchmark::DoNotOptimize(plain.positions.data());
        benchmark::ClobberMemory();
    }
}

// Prints the runs as usual and keeps the fastest repetition of each benchmark for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Best {
        double real = std::numeric_limits<double>::max();
        double cpu = std::numeric_limits<double>::max();
    };

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            Best& entry = best[run.run_name.function_name];
            entry.real = std::min(entry.real, run.GetAdjustedRealTime());
            entry.cpu = std::min(entry.cpu, run.GetAdjustedCPUTime());
        }
    }

    std::map<std::string, Best> best;
};

} // namespace

BENCHMARK(solverStep)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(plainStep)->Unit(benchmark::kMicrosecond)->Repetitions(5);

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

    auto solver = reporter.best.find("solverStep");
    auto plain = reporter.best.find("plainStep");
    if (solver != reporter.best.end() && plain != reporter.best.end()) {
        // CPU time is the steadier measure when other processes share the machine.
        const RatioReporter::Best& s = solver->second;
        const RatioReporter::Best& p = plain->second;
        std::printf("cloth step, best of repetitions (us): solver %.2f real, %.2f cpu; plain arrays %.2f real, "
                    "%.2f cpu; ratio solver/plain %.3f real, %.3f cpu\n",
                    s.real, s.cpu, p.real, p.cpu, s.real / p.real, s.cpu / p.cpu);
    }
    return 0;
}
