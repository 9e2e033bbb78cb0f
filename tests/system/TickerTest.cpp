#include "object/Exception.h"
#include "system/Ticker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

using vardel::object::Exception;
using vardel::system::Ticker;

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

struct CountingTicker : Ticker {
    ~CountingTicker() override { CloseHandle(ticked); }
    bool tick() override
    {
        inTick = true;
        if (throws) {
            throw Exception("thrown from a tick");
        }
        ++ticks;
        SetEvent(ticked);
        inTick = false;
        return true;
    }
    // Waits, for at most ten seconds, until at least `count` ticks have come.
    bool waitForTicks(int count)
    {
        Clock::time_point end = Clock::now() + std::chrono::seconds(10);
        while (ticks < count) {
            if (Clock::now() > end) {
                return false;
            }
            WaitForSingleObject(ticked, 100);
        }
        return true;
    }
    HANDLE ticked = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::atomic<int> ticks{0};
    std::atomic<bool> inTick{false};
    bool throws = false;
};

} // namespace

TEST(Ticker, startsStoppedAndTicksAtOnceWhenStarted)
{
    CountingTicker ticker;
    EXPECT_EQ(ticker.className(), "Object:Ticker");
    EXPECT_EQ(ticker.thread.className(), "Object:Thread:TickerThread");
    EXPECT_EQ(ticker.period, 1000);
    EXPECT_FALSE(ticker.running);
    ticker.stop();
    ticker.setPeriod(5000);
    EXPECT_EQ(ticker.period, 5000);
    EXPECT_FALSE(ticker.thread.startedSignal.isSet());

    Clock::time_point start = Clock::now();
    EXPECT_TRUE(ticker.start());
    ASSERT_TRUE(ticker.waitForTicks(1));
    EXPECT_LT(Clock::now() - start, milliseconds(2500));
    ticker.stop();
    EXPECT_EQ(ticker.ticks, 1);
}

TEST(Ticker, noTickAfterStopReturnsUntilStartedAgain)
{
    CountingTicker ticker;
    ticker.setPeriod(2);
    ASSERT_TRUE(ticker.start());
    ASSERT_TRUE(ticker.waitForTicks(5));
    ticker.stop();
    EXPECT_FALSE(ticker.inTick);
    EXPECT_FALSE(ticker.running);
    EXPECT_FALSE(ticker.thread.startedSignal.isSet());
    int ticks = ticker.ticks;
    Sleep(50);
    EXPECT_EQ(ticker.ticks, ticks);

    ticker.setPeriod(5000);
    ASSERT_TRUE(ticker.start());
    EXPECT_TRUE(ticker.waitForTicks(ticks + 1));
}

TEST(Ticker, setPeriodWhileRunningChangesTheRateAtOnce)
{
    CountingTicker ticker;
    ticker.setPeriod(60000);
    ASSERT_TRUE(ticker.start());
    ASSERT_TRUE(ticker.waitForTicks(1));
    // At the old period the next ten ticks would take ten minutes.
    Clock::time_point change = Clock::now();
    ticker.setPeriod(20);
    ASSERT_TRUE(ticker.waitForTicks(11));
    EXPECT_GE(Clock::now() - change, milliseconds(9 * 20));
}

TEST(Ticker, aThrowingTickEndsTheThreadAndTheTickerCanStillBeDestroyed)
{
    auto* ticker = new CountingTicker;
    ticker->throws = true;
    ticker->setPeriod(1);
    ASSERT_TRUE(ticker->start());
    Clock::time_point end = Clock::now() + std::chrono::seconds(10);
    while (ticker->thread.startedSignal.isSet() && Clock::now() < end) {
        Sleep(1);
    }
    EXPECT_FALSE(ticker->thread.startedSignal.isSet());
    ticker->release();
}

TEST(Ticker, destroyingARunningTickerStopsIt)
{
    auto* ticker = new CountingTicker;
    ticker->setPeriod(1);
    ASSERT_TRUE(ticker->start());
    ASSERT_TRUE(ticker->waitForTicks(3));
    ticker->release();
}
