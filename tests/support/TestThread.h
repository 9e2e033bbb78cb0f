#pragma once

#include "platform/Win32.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>

namespace vardel::test {

// A thread for tests, made straight with CreateThread: the framework sees it as a foreign thread,
// and it builds where the C++ library has no std::thread (the win32 thread model). Unlike
// std::thread, an unjoined one is joined when it goes away.
class TestThread {
public:
    TestThread() = default;
    explicit TestThread(std::function<void()> body)
        : body(std::make_unique<std::function<void()>>(std::move(body)))
    {
        handle = CreateThread(nullptr, 0, &TestThread::routine, this->body.get(), 0, nullptr);
        if (handle == nullptr) {
            throw std::runtime_error("CreateThread failed");
        }
    }
    TestThread(TestThread&& other) noexcept
        : body(std::move(other.body)), handle(std::exchange(other.handle, nullptr))
    {
    }
    TestThread& operator=(TestThread&& other) noexcept
    {
        join();
        body = std::move(other.body);
        handle = std::exchange(other.handle, nullptr);
        return *this;
    }
    ~TestThread() { join(); }

    bool joinable() const { return handle != nullptr; }
    void join()
    {
        if (handle != nullptr) {
            WaitForSingleObject(handle, INFINITE);
            CloseHandle(handle);
            handle = nullptr;
        }
    }

private:
    static DWORD WINAPI routine(LPVOID body)
    {
        (*static_cast<std::function<void()>*>(body))();
        return 0;
    }

    std::unique_ptr<std::function<void()>> body;
    HANDLE handle = nullptr;
};

} // namespace vardel::test
