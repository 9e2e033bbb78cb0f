#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/posix/Handle.h"
#include "platform/posix/NamedObjects.h"

namespace vardel::platform::posix {

namespace {

using Clock = Deadline::Clock;

// 100-nanosecond units from 1601-01-01 to 1970-01-01.
constexpr LONGLONG fileTimeOfUnixEpoch = 116444736000000000LL;

// Expiries are worked out when someone looks, against the monotonic clock: no thread runs the
// timer. A timer that expired stays signalled until a wait takes the signal (auto-reset) or it is
// set again; expiries that pass while it is signalled are dropped, so a late waiter gets one
// release and then the next expiry on schedule, never a burst.
class TimerRecord : public HandleRecord {
public:
    explicit TimerRecord(bool manualReset) : manualReset(manualReset) {}

    DWORD wait(const Deadline& deadline) override
    {
        std::unique_lock lock(mutex);
        for (;;) {
            Clock::time_point now = Clock::now();
            expire(now);
            if (signalled) {
                signalled = manualReset;
                return WAIT_OBJECT_0;
            }
            if (!deadline.infinite && now >= deadline.at) {
                return WAIT_TIMEOUT;
            }
            if (armed && (deadline.infinite || due < deadline.at)) {
                Clock::time_point expiry = due;
                changed.wait_until(lock, expiry);
            } else if (!deadline.infinite) {
                changed.wait_until(lock, deadline.at);
            } else {
                changed.wait(lock);
            }
        }
    }

    void set(Clock::time_point firstDue, std::chrono::milliseconds newPeriod)
    {
        std::lock_guard lock(mutex);
        armed = true;
        signalled = false;
        due = firstDue;
        period = newPeriod;
        changed.notify_all();
    }

    void cancel()
    {
        std::lock_guard lock(mutex);
        armed = false;
        changed.notify_all();
    }

private:
    void expire(Clock::time_point now)
    {
        if (!armed || now < due) {
            return;
        }
        signalled = true;
        if (period.count() > 0) {
            due += period * ((now - due) / period + 1);
        } else {
            armed = false;
        }
    }

    std::mutex mutex;
    std::condition_variable changed;
    const bool manualReset;
    bool armed = false;
    bool signalled = false;
    Clock::time_point due;
    std::chrono::milliseconds period{0};
};

// The monotonic time of a due time given as SetWaitableTimer takes it.
Clock::time_point dueTime(LONGLONG due)
{
    using Ticks = std::chrono::duration<LONGLONG, std::ratio<1, 10000000>>;
    if (due < 0) {
        return Clock::now() + Ticks(-due);
    }
    // Absolute: a FILETIME, turned into a distance from the wall clock now.
    auto wallNow = std::chrono::duration_cast<Ticks>(std::chrono::system_clock::now().time_since_epoch());
    Ticks distance = Ticks(due - fileTimeOfUnixEpoch) - wallNow;
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(distance < Ticks(0) ? Ticks(0) : distance);
}

} // namespace

} // namespace vardel::platform::posix

using namespace vardel::platform::posix;

HANDLE WINAPI CreateWaitableTimerA(LPSECURITY_ATTRIBUTES, BOOL manualReset, LPCSTR name)
{
    return NamedObjects::open<TimerRecord>(name, [&] { return std::make_shared<TimerRecord>(manualReset != FALSE); });
}

BOOL WINAPI SetWaitableTimer(HANDLE timer, const LARGE_INTEGER* due, LONG period, PTIMERAPCROUTINE completionRoutine,
                             LPVOID, BOOL)
{
    std::shared_ptr<TimerRecord> record = findHandle<TimerRecord>(timer);
    if (!record) {
        return FALSE;
    }
    if (!due || period < 0) {
        return fail(ERROR_INVALID_PARAMETER);
    }
    if (completionRoutine) {
        return fail(ERROR_NOT_SUPPORTED);
    }
    record->set(dueTime(due->QuadPart), std::chrono::milliseconds(period));
    return TRUE;
}

BOOL WINAPI CancelWaitableTimer(HANDLE timer)
{
    std::shared_ptr<TimerRecord> record = findHandle<TimerRecord>(timer);
    if (!record) {
        return FALSE;
    }
    record->cancel();
    return TRUE;
}
