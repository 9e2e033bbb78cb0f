#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Prints the runs as usual and keeps the fastest repetition of each, by name and arguments, for
// ratios printed after the runs.
class BestRuns : public benchmark::ConsoleReporter {
public:
    struct Best {
        // Wall time, or the time the benchmark gave under manual timing.
        double real;
        // CPU time of the benchmark's thread: not inflated by other processes on a shared machine.
        double cpu;
    };

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            auto [entry, added] = best.try_emplace(run.run_name.function_name + "/" + run.run_name.args,
                                                   Best{run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()});
            entry->second.real = std::min(entry->second.real, run.GetAdjustedRealTime());
            entry->second.cpu = std::min(entry->second.cpu, run.GetAdjustedCPUTime());
        }
    }

    // Zero for a run that did not happen.
    Best find(const std::string& name) const
    {
        auto entry = best.find(name);
        return entry == best.end() ? Best{0.0, 0.0} : entry->second;
    }

    std::map<std::string, Best> best;
};

// Runs the benchmarks with their repetitions interleaved, so that every run sees the same load on a
// shared machine; a flag given on the command line comes later and wins. False for a flag it does
// not know.
inline bool runInterleaved(int argc, char** argv, BestRuns& reporter)
{
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> arguments{argv[0], interleave};
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data()))
        return false;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return true;
}
