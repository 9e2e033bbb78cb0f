#include "platform/Win32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Starts threads that each announce themselves and then wait on event for up to ten seconds.
struct Waiters {
    Waiters(HANDLE event, int count)
    {
        for (int i = 0; i < count; ++i) {
            threads.emplace_back([this, event] {
                ++ready;
                if (WaitForSingleObject(event, 10000) == WAIT_OBJECT_0) {
                    ++woken;
                }
            });
        }
        while (ready < count) {
            std::this_thread::yield();
        }
        // Time for every announced waiter to be inside its wait.
        Sleep(300);
    }
    int finish()
    {
        for (std::thread& thread : threads) {
            thread.join();
        }
        return woken;
    }
    std::vector<std::thread> threads;
    std::atomic<int> ready{0};
    std::atomic<int> woken{0};
};

DWORD WINAPI storeId(LPVOID parameter)
{
    auto* value = static_cast<std::atomic<DWORD>*>(parameter);
    value->store(GetCurrentThreadId());
    return 0;
}

} // namespace

TEST(Event, manualResetSetWakesEveryWaiterAndStaysSet)
{
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Waiters waiters(event, 3);
    EXPECT_TRUE(SetEvent(event));
    EXPECT_EQ(waiters.finish(), 3);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    ResetEvent(event);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    CloseHandle(event);
}

TEST(Event, pulseWakesOnlyCurrentWaitersAndIsNotRemembered)
{
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EXPECT_TRUE(PulseEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 50), WAIT_TIMEOUT);

    Waiters waiters(event, 3);
    EXPECT_TRUE(PulseEvent(event));
    EXPECT_EQ(waiters.finish(), 3);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);

    SetEvent(event);
    PulseEvent(event);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    CloseHandle(event);
}

TEST(Event, autoResetReleasesOneWaitPerSet)
{
    HANDLE event = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    Waiters waiters(event, 2);
    SetEvent(event);
    while (waiters.woken == 0) {
        std::this_thread::yield();
    }
    Sleep(100);
    EXPECT_EQ(waiters.woken, 1);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    SetEvent(event);
    EXPECT_EQ(waiters.finish(), 2);
    CloseHandle(event);
}

TEST(Wait, timedWaitNeverEndsEarlyAndClosedHandlesFail)
{
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Clock::time_point start = Clock::now();
    EXPECT_EQ(WaitForSingleObject(event, 60), WAIT_TIMEOUT);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(60));

    EXPECT_TRUE(CloseHandle(event));
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(CloseHandle(event));
    EXPECT_FALSE(SetEvent(nullptr));
}

TEST(Thread, suspendedThreadRunsOnResumeAndItsHandleSignalsWhenItEnds)
{
    std::atomic<DWORD> seenId{0};
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, storeId, &seenId, CREATE_SUSPENDED, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, 0u);
    EXPECT_EQ(WaitForSingleObject(thread, 100), WAIT_TIMEOUT);
    EXPECT_EQ(seenId.load(), 0u);

    EXPECT_EQ(ResumeThread(thread), 1u);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(seenId.load(), id);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(CloseHandle(thread));
}

TEST(Thread, idsAreUniqueAndNonZero)
{
    std::set<DWORD> ids{GetCurrentThreadId()};
    std::vector<std::thread> threads;
    std::vector<DWORD> seen(8);
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([&seen, i] { seen[i] = GetCurrentThreadId(); });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    ids.insert(seen.begin(), seen.end());
    EXPECT_EQ(ids.size(), 9u);
    EXPECT_EQ(ids.count(0), 0u);
}

TEST(Thread, duplicatedCurrentThreadHandleOutlivesTheThreadsPseudoHandle)
{
    HANDLE duplicate = nullptr;
    HANDLE duplicated = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread foreign([&] {
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &duplicate, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        SetEvent(duplicated);
        WaitForSingleObject(release, INFINITE);
    });
    WaitForSingleObject(duplicated, INFINITE);
    ASSERT_NE(duplicate, nullptr);
    EXPECT_EQ(WaitForSingleObject(duplicate, 50), WAIT_TIMEOUT);
    SetEvent(release);
    EXPECT_EQ(WaitForSingleObject(duplicate, 10000), WAIT_OBJECT_0);
    foreign.join();
    EXPECT_TRUE(CloseHandle(duplicate));
    CloseHandle(duplicated);
    CloseHandle(release);
}

TEST(CriticalSection, isRecursiveAndExcludesOtherThreadsUntilFullyLeft)
{
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    EnterCriticalSection(&section);
    EnterCriticalSection(&section);
    std::atomic<bool> entered{false};
    std::thread other([&] {
        EnterCriticalSection(&section);
        entered = true;
        LeaveCriticalSection(&section);
    });
    LeaveCriticalSection(&section);
    Sleep(50);
    EXPECT_FALSE(entered);
    LeaveCriticalSection(&section);
    other.join();
    EXPECT_TRUE(entered);
    DeleteCriticalSection(&section);
}

TEST(ThreadLocalStorage, eachThreadSeesItsOwnValue)
{
    DWORD slot = TlsAlloc();
    ASSERT_NE(slot, TLS_OUT_OF_INDEXES);
    int mine = 1;
    int theirs = 2;
    EXPECT_TRUE(TlsSetValue(slot, &mine));
    std::thread other([&] {
        EXPECT_EQ(TlsGetValue(slot), nullptr);
        TlsSetValue(slot, &theirs);
        EXPECT_EQ(TlsGetValue(slot), &theirs);
    });
    other.join();
    EXPECT_EQ(TlsGetValue(slot), &mine);
    EXPECT_TRUE(TlsFree(slot));
}
