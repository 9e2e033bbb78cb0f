// A producer thread hands jobs to a pool of worker loopers; each worker posts its result to the
// Application, whose loop on the main thread collects them and prints a summary.
//
// What to copy for your own program:
// - a Handler subclass per kind of work, registered with the Looper whose thread should serve it;
// - Message + addParameter to carry a pointer to the work, Messenger::post to hand it over;
// - an Application subclass whose ready() starts everything and whose handleMessage() collects.

#include <cinttypes>
#include <cstdio>

#include "object/Release.h"
#include "system/Thread.h"
#include "application/Application.h"
#include "application/Looper.h"
#include "application/Message.h"

using namespace vardel;

namespace {

constexpr int workerCount = 4;
constexpr int jobCount = 64;
constexpr std::uint64_t numbersPerJob = 20000;

// Message codes of this program, from the range that application/MessageCodes.h leaves to programs.
constexpr std::int32_t countPrimes = 1;
constexpr std::int32_t jobDone = 2;

// One piece of work and, once served, its result. The producer owns the array of jobs; messages
// only carry pointers to them.
struct Job {
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    std::uint64_t primes = 0;
    int worker = -1;
};

bool isPrime(std::uint64_t n)
{
    if (n < 2) {
        return false;
    }
    for (std::uint64_t d = 2; d * d <= n; ++d) {
        if (n % d == 0) {
            return false;
        }
    }
    return true;
}

// Served on its looper's thread: counts the primes of a job and reports to the application.
class Worker : public application::Handler {
public:
    explicit Worker(int index) : index(index) {}

    bool handleMessage(application::Message& message) override
    {
        auto* job = static_cast<Job*>(message.find("job")->pointer());
        for (std::uint64_t n = job->first; n < job->last; ++n) {
            job->primes += isPrime(n) ? 1 : 0;
        }
        job->worker = index;
        auto* reply = new application::Message(jobDone, application::theApplication);
        reply->addParameter("job", job);
        application::Messenger::post(reply);
        return true;
    }

private:
    int index;
};

// Posts every job, round robin, to the workers.
class Producer : public system::Thread {
public:
    Producer(Job* jobs, Worker** workers) : jobs(jobs), workers(workers) {}

    bool run() override
    {
        for (int i = 0; i < jobCount; ++i) {
            jobs[i].first = static_cast<std::uint64_t>(i) * numbersPerJob;
            jobs[i].last = jobs[i].first + numbersPerJob;
            auto* message = new application::Message(countPrimes, workers[i % workerCount]);
            message->addParameter("job", &jobs[i]);
            application::Messenger::post(message);
        }
        return true;
    }

private:
    Job* jobs;
    Worker** workers;
};

class WorkersApplication : public application::Application {
public:
    bool ready() override
    {
        // Workers answer as soon as the producer starts, which may be before run() enters its
        // loop; run() serves on this thread, so naming it now lets early answers queue up
        // instead of being refused.
        thread = system::Thread::current();
        for (int i = 0; i < workerCount; ++i) {
            loopers[i] = new application::Looper;
            workers[i] = new Worker(i);
            // The looper's handler chain takes its own reference on the worker.
            loopers[i]->addHandler(workers[i]);
            workers[i]->release();
            if (!loopers[i]->start()) {
                return fail("cannot start a worker thread");
            }
        }
        producer = new Producer(jobs, workers);
        if (!producer->start(false)) {
            return fail("cannot start the producer thread");
        }
        return true;
    }

    bool handleMessage(application::Message& message) override
    {
        if (message.what != jobDone) {
            return false;
        }
        auto* job = static_cast<Job*>(message.find("job")->pointer());
        total += job->primes;
        ++served[job->worker];
        if (++done == jobCount) {
            quit();
        }
        return true;
    }

    bool quitting() override
    {
        stopAll();
        std::printf("workers: %d jobs served by %d workers: %" PRIu64 " primes below %" PRIu64 "\n",
            done, workerCount, total, jobCount * numbersPerJob);
        for (int i = 0; i < workerCount; ++i) {
            std::printf("  worker %d served %d jobs\n", i, served[i]);
        }
        return true;
    }

private:
    bool fail(const char* what)
    {
        std::fprintf(stderr, "workers: %s\n", what);
        stopAll();
        return false;
    }

    void stopAll()
    {
        if (producer) {
            producer->join();
            object::releaseAndClear(producer);
        }
        for (auto*& looper : loopers) {
            if (looper) {
                // Stopping waits for the looper's thread; releasing the looper lets go of its
                // worker too.
                looper->stop();
                object::releaseAndClear(looper);
            }
        }
    }

    Job jobs[jobCount];
    application::Looper* loopers[workerCount] = {};
    Worker* workers[workerCount] = {};
    Producer* producer = nullptr;
    int served[workerCount] = {};
    int done = 0;
    std::uint64_t total = 0;
};

} // namespace

int main()
{
    auto* application = new WorkersApplication;
    int status = application->run() ? 0 : 1;
    application->release();
    return status;
}
