#pragma once

#include <atomic>
#include <cstdint>

#include "platform/Win32.h"
#include "object/Object.h"
#include "types/String.h"
#include "system/Thread.h"

namespace vardel::system {

// Calls tick() periodically on a thread of its own, paced by an auto-reset waitable timer: the
// first tick comes at once, then one every period. A tick that overruns delays the next one
// instead of causing a burst.
class Ticker : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Ticker)

    // The ticker's thread: waits on the timer and ticks until the ticker stops running.
    class TickerThread : public Thread {
        VARDEL_CLASS_PATH(Thread, TickerThread)

        // A thread ticking for owner.
        explicit TickerThread(Ticker* owner);

        bool run() override;

        // The ticker whose tick() the thread calls; not a counted reference.
        Ticker* owner;
    };

    Ticker();
    ~Ticker() override;
    Ticker(const Ticker&) = delete;
    Ticker& operator=(const Ticker&) = delete;

    // Called once per timer expiry on the ticker's thread. The result is ignored.
    virtual bool tick();

    // Control (from any thread but the ticker's own)
    // Stores the period; while running, re-arms the timer at once, which also ticks at once.
    void setPeriod(std::int32_t milliseconds);
    // Starts the thread (waiting until it runs) and arms the timer, which ticks at once; false when no thread could be started.
    bool start();
    // Returns once the thread has ended: no tick comes after it until the next start().
    void stop();

    // The thread that ticks.
    TickerThread thread;
    // Milliseconds between ticks.
    std::int32_t period;
    // Whether the thread goes on ticking; cleared by stop().
    std::atomic<bool> running;
    // The auto-reset waitable timer that paces the ticks.
    HANDLE timer;

private:
    // Arms the timer to expire at once and then every `every` milliseconds.
    bool arm(std::int32_t every);
};

} // namespace vardel::system
