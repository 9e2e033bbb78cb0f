#pragma once

#include "platform/posix/Kernel.h"

namespace vardel::platform::x11 {

// A critical section that lives as long as its owner, with a scoped hold.
class Lock {
public:
    Lock() { InitializeCriticalSection(&section); }
    ~Lock() { DeleteCriticalSection(&section); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    class Hold {
    public:
        explicit Hold(Lock& lock) : lock(lock) { EnterCriticalSection(&lock.section); }
        ~Hold() { LeaveCriticalSection(&lock.section); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        Lock& lock;
    };

private:
    CRITICAL_SECTION section;
};

} // namespace vardel::platform::x11
