#include "system/Signal.h"
#include "system/Thread.h"
#include "system/Ticker.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <vector>

using vardel::system::Signal;
using vardel::system::Thread;
using vardel::system::Ticker;

namespace {

using Clock = std::chrono::steady_clock;

double milliseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

// The value below which the given share of the sorted samples lie.
double percentile(std::vector<double> samples, double share)
{
    std::sort(samples.begin(), samples.end());
    std::size_t index = static_cast<std::size_t>(share * static_cast<double>(samples.size() - 1) + 0.5);
    return samples[index];
}

struct StampingTicker : Ticker {
    bool tick() override
    {
        if (count < stamps.size()) {
            stamps[count++] = Clock::now();
        }
        return true;
    }
    std::vector<Clock::time_point> stamps = std::vector<Clock::time_point>(4096);
    std::size_t count = 0;
};

// The intervals between the ticks of a 20 ms ticker over ten seconds.
void tickerJitter(benchmark::State& state)
{
    std::vector<double> intervals;
    for (auto _ : state) {
        StampingTicker ticker;
        ticker.setPeriod(20);
        ticker.start();
        Sleep(10000);
        ticker.stop();
        for (std::size_t i = 1; i < ticker.count; ++i) {
            intervals.push_back(milliseconds(ticker.stamps[i] - ticker.stamps[i - 1]));
        }
    }
    state.counters["ticks"] = static_cast<double>(intervals.size() + 1);
    state.counters["median_ms"] = percentile(intervals, 0.5);
    state.counters["p99_ms"] = percentile(intervals, 0.99);
    state.counters["min_ms"] = percentile(intervals, 0.0);
    state.counters["max_ms"] = percentile(intervals, 1.0);
}
BENCHMARK(tickerJitter)->Iterations(1)->Unit(benchmark::kSecond);

// Wakes on `go`, notes the time and answers on `done`.
struct Waiter : Thread {
    bool run() override
    {
        for (;;) {
            go.wait();
            woke = Clock::now();
            if (stopping) {
                return true;
            }
            done.set();
        }
    }
    Signal go;
    Signal done;
    std::atomic<Clock::time_point> woke;
    std::atomic<bool> stopping{false};
};

// From Signal::set on this thread to the waiting thread running.
void signalLatency(benchmark::State& state)
{
    Waiter waiter;
    waiter.start(true);
    std::vector<double> latencies;
    for (auto _ : state) {
        Clock::time_point set = Clock::now();
        waiter.go.set();
        waiter.done.wait();
        Clock::duration latency = waiter.woke.load() - set;
        latencies.push_back(milliseconds(latency) * 1000.0);
        state.SetIterationTime(std::chrono::duration<double>(latency).count());
    }
    waiter.stopping = true;
    waiter.go.set();
    waiter.join();
    state.counters["median_us"] = percentile(latencies, 0.5);
    state.counters["p99_us"] = percentile(latencies, 0.99);
}
BENCHMARK(signalLatency)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
