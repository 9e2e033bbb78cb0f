#include "object/Exception.h"
#include "system/Mutex.h"
#include "system/Signal.h"
#include "system/Thread.h"

#include "support/TestThread.h"

#include <gtest/gtest.h>

#include <atomic>

using vardel::object::Exception;
using vardel::system::Mutex;
using vardel::system::Signal;
using vardel::system::Thread;
using vardel::test::TestThread;

namespace {

// A body that records what it saw and then holds until released.
struct Worker : Thread {
    bool run() override
    {
        ++runs;
        sawItself = current() == this;
        joinedItself = join();
        proceed.wait();
        if (throws) {
            throw Exception("thrown from the body");
        }
        return true;
    }
    Signal proceed;
    std::atomic<int> runs{0};
    std::atomic<bool> sawItself{false};
    std::atomic<bool> joinedItself{true};
    bool throws = false;
};

// Another thread's wait on signal returns only once the signal is set.
void expectWaitLastsUntilSet(Signal& signal)
{
    std::atomic<bool> woken{false};
    TestThread waiter([&] {
        signal.wait();
        woken = true;
    });
    Sleep(50);
    EXPECT_FALSE(woken);
    signal.set();
    waiter.join();
    EXPECT_TRUE(woken);
}

} // namespace

TEST(Thread, startWithWaitReturnsOnceTheBodyRunsAndAgainDoesNothing)
{
    auto* worker = new Worker;
    EXPECT_TRUE(worker->start(true));
    EXPECT_TRUE(worker->startedSignal.isSet());
    EXPECT_NE(worker->threadHandle.load(), nullptr);
    EXPECT_NE(worker->threadId.load(), 0u);
    EXPECT_NE(worker->chain, nullptr);
    // The creator's, the running thread's and the registry's.
    EXPECT_EQ(worker->refCount, 3);

    EXPECT_TRUE(worker->start(true));
    // Released from elsewhere once join waits: a body that has already returned is not joined.
    TestThread releaser([&] {
        Sleep(50);
        worker->proceed.set();
    });
    EXPECT_TRUE(worker->join());
    releaser.join();
    EXPECT_EQ(worker->runs, 1);
    EXPECT_TRUE(worker->sawItself);
    EXPECT_FALSE(worker->joinedItself);

    EXPECT_FALSE(worker->startedSignal.isSet());
    EXPECT_EQ(worker->threadHandle.load(), nullptr);
    EXPECT_EQ(worker->threadId.load(), 0u);
    EXPECT_EQ(worker->chain, nullptr);
    EXPECT_EQ(worker->refCount, 1);
    EXPECT_FALSE(worker->join());
    worker->release();
}

TEST(Thread, canBeStartedAgainAfterItEnded)
{
    Worker worker;
    worker.proceed.set();
    ASSERT_TRUE(worker.start(true));
    worker.join();
    worker.proceed.set();
    ASSERT_TRUE(worker.start(true));
    worker.join();
    EXPECT_EQ(worker.runs, 2);
}

TEST(Thread, startWithWaitReturnsEvenWhenTheBodyEndsAtOnce)
{
    // The body returns, and clears startedSignal, possibly before start() looks at it.
    Thread thread;
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(thread.start(true));
        thread.join();
    }
    EXPECT_EQ(thread.chain, nullptr);
}

TEST(Thread, anExceptionFromTheBodyEndsTheThreadCleanly)
{
    Worker worker;
    worker.throws = true;
    ASSERT_TRUE(worker.start(true));
    worker.proceed.set();
    // True while the body still runs, false once it has ended: either way the thread is gone after.
    worker.join();
    EXPECT_FALSE(worker.startedSignal.isSet());
    EXPECT_EQ(worker.chain, nullptr);
    EXPECT_EQ(worker.refCount, 1);
}

TEST(Thread, currentAdoptsAForeignThreadOnce)
{
    Thread* main = Thread::current();
    EXPECT_EQ(main, Thread::current());
    EXPECT_NE(main->chain, nullptr);
    EXPECT_EQ(main->threadId, GetCurrentThreadId());

    Thread* first = nullptr;
    Thread* second = nullptr;
    DWORD id = 0;
    TestThread foreign([&] {
        first = Thread::current();
        second = Thread::current();
        id = GetCurrentThreadId();
    });
    foreign.join();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_NE(first, main);
    EXPECT_EQ(first->threadId, id);
    EXPECT_NE(first->threadHandle.load(), nullptr);
    EXPECT_NE(first->chain, nullptr);
    EXPECT_EQ(first->className(), "Object:Thread");
    // Its thread has ended, but an adopted thread's body never ran: nothing to join.
    EXPECT_FALSE(first->join());
}

TEST(Signal, waitConsumesASetSignalAndPulsesAreNotKept)
{
    Signal signal;
    EXPECT_EQ(signal.getName(), "Object:Signal");
    signal.set();
    EXPECT_TRUE(signal.isSet());
    signal.wait();
    EXPECT_FALSE(signal.isSet());
    EXPECT_EQ(WaitForSingleObject(signal.event, 0), WAIT_TIMEOUT);

    signal.pulse();
    EXPECT_FALSE(signal.isSet());
    EXPECT_EQ(WaitForSingleObject(signal.event, 0), WAIT_TIMEOUT);

    expectWaitLastsUntilSet(signal);
    EXPECT_FALSE(signal.isSet());
}

TEST(Signal, resetClearsASetSignalSoTheNextWaitWaits)
{
    Signal signal;
    signal.set();
    signal.reset();
    EXPECT_FALSE(signal.isSet());
    EXPECT_EQ(WaitForSingleObject(signal.event, 0), WAIT_TIMEOUT);

    expectWaitLastsUntilSet(signal);
}

TEST(Mutex, isRecursiveAndExcludesOthersUntilFullyUnlocked)
{
    Mutex mutex;
    EXPECT_EQ(mutex.toString(), "Object:Mutex");
    EXPECT_TRUE(mutex.lock());
    EXPECT_TRUE(mutex.lock());
    std::atomic<bool> entered{false};
    TestThread other([&] {
        mutex.lock();
        entered = true;
        mutex.unlock();
    });
    mutex.unlock();
    Sleep(50);
    EXPECT_FALSE(entered);
    EXPECT_TRUE(mutex.unlock());
    other.join();
    EXPECT_TRUE(entered);
}
