#pragma once

// GoogleTest's own customisation point, found ahead of its stock header in the Windows build.
// Its Notification needs std::mutex, which the win32 thread-model C++ library lacks: this one
// waits on a Win32 event instead. Only the kernel's headers: GDI's names (Rectangle) would
// collide with the tests' own.
#include <windef.h>
#include <winbase.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
public:
    Notification() : event(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(event); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { SetEvent(event); }
    void WaitForNotification() { WaitForSingleObject(event, INFINITE); }

private:
    HANDLE event;
};

} // namespace testing::internal
