#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
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

// Seconds for one batch: each producer posts its share through post, then the batch is awaited.
double timeBatch(int producers, Completion& completion, const Post& post)
{
    auto started = std::chrono::steady_clock::now();
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
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

// Times batches through post and, alternately before and after each, one through a plain queue,
// so that both meet the same load on a shared machine; versusPlain is the ratio of their times.
void runBatches(benchmark::State& state, Completion& completion, const Post& post)
{
    int producers = static_cast<int>(state.range(0));
    PlainQueue plain;
    CountingHandler plainHandler;
    Post plainPost = [&](std::int32_t what) { plain.post({what, &plainHandler}); };
    double measured = 0;
    double baseline = 0;
    bool plainFirst = false;
    for (auto _ : state) {
        if (plainFirst) {
            baseline += timeBatch(producers, plainHandler.completion, plainPost);
        }
        double seconds = timeBatch(producers, completion, post);
        state.SetIterationTime(seconds);
        measured += seconds;
        if (!plainFirst) {
            baseline += timeBatch(producers, plainHandler.completion, plainPost);
        }
        plainFirst = !plainFirst;
    }
    state.SetItemsProcessed(state.iterations() * batch);
    state.counters["versusPlain"] = measured / baseline;
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
