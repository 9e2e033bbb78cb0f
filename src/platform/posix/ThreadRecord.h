#pragma once

#include <condition_variable>
#include <mutex>

#include "platform/posix/Handle.h"

namespace vardel::platform::posix {

// A thread as a kernel object: signalled once the thread has ended.
class ThreadRecord : public HandleRecord {
public:
    ThreadRecord(DWORD id, DWORD suspendCount);

    DWORD wait(const Deadline& deadline) override;

    // Suspension (threads created suspended start once resumed)
    // Lowers the suspend count and returns the count it had, as ResumeThread does.
    DWORD resume();
    // Blocks the new thread itself until its suspend count reaches 0.
    void waitUntilResumed();

    // Releases every wait on the thread, now and later.
    void end();

    const DWORD id;

private:
    std::mutex mutex;
    std::condition_variable changed;
    DWORD suspendCount;
    bool ended = false;
};

} // namespace vardel::platform::posix
