#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "application/Application.h"
#include "application/Handler.h"
#include "application/Looper.h"
#include "application/Message.h"
#include "application/Messenger.h"

using vardel::application::Application;
using vardel::application::Handler;
using vardel::application::Looper;
using vardel::application::Message;
using vardel::application::Messenger;

namespace {

// Messages per iteration, shared out among the producers.
constexpr int batch = 50000;

// Counts served messages on the serving thread and tells the benchmark when a batch is through.
class Completion {
public:
    void expect(int count)
    {
        std::lock_guard lock(mutex);
        served = 0;
        target = count;
    }

    // On the serving thread.
    void serve()
    {
        if (++served == target) {
            std::lock_guard lock(mutex);
            done.notify_one();
        }
    }

    void wait()
    {
        std::unique_lock lock(mutex);
        done.wait(lock, [this] { return served == target; });
    }

private:
    std::mutex mutex;
    std::condition_variable done;
    std::atomic<int> served{0};
    int target = 0;
};

struct CountingHandler : Handler {
    bool handleMessage(Message&) override
    {
        completion.serve();
        return true;
    }
    Completion completion;
};

// The baseline: a deque under a std::mutex, its consumer woken by a std::condition_variable.
class PlainQueue {
public:
    struct Item {
        std::int32_t what;
        CountingHandler* target;
    };

    PlainQueue() : consumer([this] { serve(); }) {}

    ~PlainQueue()
    {
        post({0, nullptr});
        consumer.join();
    }

    void post(Item item)
    {
        {
            std::lock_guard lock(mutex);
            items.push_back(item);
        }
        available.notify_one();
    }

private:
    void serve()
    {
        for (;;) {
            std::unique_lock lock(mutex);
            available.wait(lock, [this] { return !items.empty(); });
            Item item = items.front();
            items.pop_front();
            lock.unlock();
            if (!item.target) {
                return;
            }
            item.target->completion.serve();
        }
    }

    std::mutex mutex;
    std::condition_variable available;
    std::deque<Item> items;
    std::thread consumer;
};

using Post = std::function<void(std::int32_t)>;

// The cost of one batch: seconds on the clock, and seconds of the process's CPU time.
struct Cost {
    double seconds;
    double cpuSeconds;
};

// Each producer posts its share of a batch through post; the batch ends once all are served.
Cost timeBatch(int producers, Completion& completion, const Post& post)
{
    auto started = std::chrono::steady_clock::now();
    std::clock_t cpuStarted = std::clock();
    completion.expect(batch);
    std::vector<std::thread> threads;
    for (int producer = 0; producer < producers; ++producer) {
        threads.emplace_back([&, producer] {
            for (int number = producer; number < batch; number += producers) {
                post(number);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    completion.wait();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(),
            static_cast<double>(std::clock() - cpuStarted) / CLOCKS_PER_SEC};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Times batches through post, each beside a batch through a plain queue run just before or just
// after it, so that both meet the same load on a shared machine. versusPlain is the median of the
// pairs' ratios of clock time, cpuVersusPlain that of CPU time: a median shrugs off the pairs that
// another process's burst cut into.
void runBatches(benchmark::State& state, Completion& completion, const Post& post)
{
    int producers = static_cast<int>(state.range(0));
    PlainQueue plain;
    CountingHandler plainHandler;
    Post plainPost = [&](std::int32_t what) { plain.post({what, &plainHandler}); };
    std::vector<double> ratios;
    std::vector<double> cpuRatios;
    bool plainFirst = false;
    for (auto _ : state) {
        Cost baseline{};
        if (plainFirst) {
            baseline = timeBatch(producers, plainHandler.completion, plainPost);
        }
        Cost measured = timeBatch(producers, completion, post);
        state.SetIterationTime(measured.seconds);
        if (!plainFirst) {
            baseline = timeBatch(producers, plainHandler.completion, plainPost);
        }
        plainFirst = !plainFirst;
        ratios.push_back(measured.seconds / baseline.seconds);
        cpuRatios.push_back(measured.cpuSeconds / std::max(baseline.cpuSeconds, 1e-6));
    }
    state.SetItemsProcessed(state.iterations() * batch);
    state.counters["versusPlain"] = median(ratios);
    state.counters["cpuVersusPlain"] = median(cpuRatios);
}

void throughLooper(benchmark::State& state)
{
    Looper looper;
    CountingHandler handler;
    looper.addHandler(&handler);
    looper.start();
    runBatches(state, handler.completion, [&](std::int32_t what) { Messenger::post(&handler, what); });
    looper.stop();
}

void throughApplication(benchmark::State& state)
{
    auto* application = new Application;
    CountingHandler handler;
    application->addHandler(&handler);
    std::thread loop([application] { application->run(); });
    while (!application->thread) {
        std::this_thread::yield();
    }
    runBatches(state, handler.completion, [&](std::int32_t what) { Messenger::post(&handler, what); });
    Application::quit();
    loop.join();
    application->release();
}

// The plain queue against itself: how far apart two runs of the same thing land at this load.
void throughPlainQueue(benchmark::State& state)
{
    PlainQueue queue;
    CountingHandler handler;
    runBatches(state, handler.completion, [&](std::int32_t what) { queue.post({what, &handler}); });
}

} // namespace

BENCHMARK(throughLooper)->ArgName("producers")->Arg(1)->Arg(4)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(throughApplication)->ArgName("producers")->Arg(1)->Arg(4)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(throughPlainQueue)->ArgName("producers")->Arg(1)->Arg(4)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
