#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/posix/Types.h"

namespace vardel::platform::posix {

// The end of a wait on the monotonic clock, or none for INFINITE (never a far-off time, which
// would overflow or drift with clock changes).
class Deadline {
public:
    using Clock = std::chrono::steady_clock;

    static Deadline after(DWORD milliseconds)
    {
        Deadline deadline;
        deadline.infinite = milliseconds == INFINITE;
        if (!deadline.infinite) {
            deadline.at = Clock::now() + std::chrono::milliseconds(milliseconds);
        }
        return deadline;
    }

    // Waits until done() holds or the deadline passes; false on time-out. A time-out is reported
    // only once the clock has reached the deadline, so a wait never ends early.
    template <typename Done>
    bool wait(std::condition_variable& condition, std::unique_lock<std::mutex>& lock, Done done) const
    {
        if (infinite) {
            condition.wait(lock, done);
            return true;
        }
        return condition.wait_until(lock, at, done);
    }

    bool infinite = true;
    Clock::time_point at;
};

} // namespace vardel::platform::posix
