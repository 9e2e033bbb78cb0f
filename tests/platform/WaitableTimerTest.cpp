#include "platform/Win32.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

bool arm(HANDLE timer, LONGLONG due, LONG period)
{
    LARGE_INTEGER dueTime;
    dueTime.QuadPart = due;
    return SetWaitableTimer(timer, &dueTime, period, nullptr, nullptr, FALSE);
}

} // namespace

TEST(WaitableTimer, firesAtOnceThenEveryPeriod)
{
    HANDLE timer = CreateWaitableTimerA(nullptr, FALSE, nullptr);
    Clock::time_point start = Clock::now();
    ASSERT_TRUE(arm(timer, -1, 50));
    EXPECT_EQ(WaitForSingleObject(timer, 5000), WAIT_OBJECT_0);
    EXPECT_LT(Clock::now() - start, milliseconds(40));
    // The schedule is kept from the first expiry: five more come no sooner than 5 periods later.
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(WaitForSingleObject(timer, 5000), WAIT_OBJECT_0);
    }
    EXPECT_GE(Clock::now() - start, milliseconds(250));
    EXPECT_LT(Clock::now() - start, milliseconds(2000));
    CloseHandle(timer);
}

TEST(WaitableTimer, expiriesNobodyWaitedForAreNotQueued)
{
    HANDLE timer = CreateWaitableTimerA(nullptr, FALSE, nullptr);
    ASSERT_TRUE(arm(timer, -1, 100));
    Sleep(450);
    // Four or five expiries passed while nobody waited: one release, then back on schedule.
    EXPECT_EQ(WaitForSingleObject(timer, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(timer, 0), WAIT_TIMEOUT);
    Clock::time_point before = Clock::now();
    EXPECT_EQ(WaitForSingleObject(timer, 5000), WAIT_OBJECT_0);
    EXPECT_LE(Clock::now() - before, milliseconds(100 + 500));
    CloseHandle(timer);
}

TEST(WaitableTimer, cancelDisarmsAndSettingAgainRestartsTheSchedule)
{
    HANDLE timer = CreateWaitableTimerA(nullptr, FALSE, nullptr);
    EXPECT_EQ(WaitForSingleObject(timer, 20), WAIT_TIMEOUT);
    ASSERT_TRUE(arm(timer, -1, 300));
    EXPECT_EQ(WaitForSingleObject(timer, 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(CancelWaitableTimer(timer));
    EXPECT_EQ(WaitForSingleObject(timer, 500), WAIT_TIMEOUT);

    // A one-shot timer 30 ms out, due in 100 ns units.
    Clock::time_point start = Clock::now();
    ASSERT_TRUE(arm(timer, -300000, 0));
    EXPECT_EQ(WaitForSingleObject(timer, 5000), WAIT_OBJECT_0);
    EXPECT_GE(Clock::now() - start, milliseconds(30));
    EXPECT_EQ(WaitForSingleObject(timer, 100), WAIT_TIMEOUT);
    CloseHandle(timer);
}

TEST(WaitableTimer, settingWakesAThreadAlreadyWaiting)
{
    HANDLE timer = CreateWaitableTimerA(nullptr, FALSE, nullptr);
    HANDLE waiter = CreateThread(
        nullptr, 0, [](LPVOID parameter) -> DWORD { return WaitForSingleObject(parameter, INFINITE); }, timer, 0,
        nullptr);
    Sleep(50);
    ASSERT_TRUE(arm(timer, -1, 0));
    EXPECT_EQ(WaitForSingleObject(waiter, 5000), WAIT_OBJECT_0);
    CloseHandle(waiter);
    CloseHandle(timer);
}
