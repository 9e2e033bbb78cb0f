#include "system/Ticker.h"

namespace vardel::system {

Ticker::TickerThread::TickerThread(Ticker* owner) : owner(owner) {}

bool Ticker::TickerThread::run()
{
    while (WaitForSingleObject(owner->timer, INFINITE) == WAIT_OBJECT_0 && owner->running) {
        owner->tick();
    }
    CancelWaitableTimer(owner->timer);
    return true;
}

Ticker::Ticker() : thread(this), period(1000), running(false), timer(CreateWaitableTimerA(nullptr, FALSE, nullptr))
{
}

Ticker::~Ticker()
{
    stop();
    CloseHandle(timer);
}

bool Ticker::tick()
{
    return true;
}

void Ticker::setPeriod(std::int32_t milliseconds)
{
    period = milliseconds;
    if (running) {
        arm(period);
    }
}

bool Ticker::start()
{
    running = true;
    // Waiting for the thread to reach its loop means a stop() right after this call finds it
    // running, and so waits for it instead of leaving it behind.
    if (!thread.startedSignal.isSet() && !thread.start(true)) {
        running = false;
        return false;
    }
    return arm(period);
}

void Ticker::stop()
{
    if (thread.startedSignal.isSet()) {
        CancelWaitableTimer(timer);
        running = false;
        // Wakes the waiting thread at once to find running false.
        arm(1);
    }
    // Also after a tick threw and so ended the thread: it may still be finishing, and must
    // have let go of this ticker before the ticker can be destroyed.
    thread.join();
}

bool Ticker::arm(std::int32_t every)
{
    LARGE_INTEGER due;
    due.QuadPart = -1;
    return SetWaitableTimer(timer, &due, every, nullptr, nullptr, FALSE) != FALSE;
}

} // namespace vardel::system
