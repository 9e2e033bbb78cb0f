#include <benchmark/benchmark.h>

#include <atomic>
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

// Runs one batch: each producer posts its share through post, then waits until all are served.
void runBatches(benchmark::State& state, Completion& completion, const std::function<void(std::int32_t)>& post)
{
    int producers = static_cast<int>(state.range(0));
    for (auto _ : state) {
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
    }
    state.SetItemsProcessed(state.iterations() * batch);
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

// The baseline: a deque under a std::mutex, its consumer woken by a std::condition_variable.
class PlainQueue {
public:
    struct Item {
        std::int32_t what;
        CountingHandler* target;
    };

    void post(Item item)
    {
        {
            std::lock_guard lock(mutex);
            items.push_back(item);
        }
        available.notify_one();
    }

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

private:
    std::mutex mutex;
    std::condition_variable available;
    std::deque<Item> items;
};

void throughPlainQueue(benchmark::State& state)
{
    PlainQueue queue;
    CountingHandler handler;
    std::thread consumer([&] { queue.serve(); });
    runBatches(state, handler.completion, [&](std::int32_t what) { queue.post({what, &handler}); });
    queue.post({0, nullptr});
    consumer.join();
}

} // namespace

BENCHMARK(throughLooper)->ArgName("producers")->Arg(1)->Arg(4)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(throughApplication)->ArgName("producers")->Arg(1)->Arg(4)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(throughPlainQueue)->ArgName("producers")->Arg(1)->Arg(4)->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
