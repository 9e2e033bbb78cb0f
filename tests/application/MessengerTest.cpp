#include "application/Looper.h"
#include "application/Message.h"
#include "system/Signal.h"
#include "system/Thread.h"

#include "Recorder.h"
#include "support/TestThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

using vardel::application::Handler;
using vardel::application::Looper;
using vardel::application::Message;
using vardel::application::Messenger;
using vardel::system::Signal;
using vardel::system::Thread;

namespace {

struct Noted : Handler {
    explicit Noted(bool* destroyed) : destroyed(destroyed) {}
    ~Noted() override { *destroyed = true; }
    bool* destroyed;
};

std::vector<std::int32_t> codes(std::initializer_list<std::int32_t> list)
{
    return std::vector<std::int32_t>(list);
}

} // namespace

TEST(Messenger, registersHandlersButNeverItself)
{
    Looper looper;
    EXPECT_EQ(looper.className(), "Object:Handler:Messenger:Looper");
    EXPECT_EQ(looper.refCount, 1);
    EXPECT_EQ(looper.messenger, &looper);
    EXPECT_EQ(looper.handlers.count, 1);
    EXPECT_FALSE(looper.addHandler(&looper));
    EXPECT_FALSE(looper.removeHandler(&looper));
    EXPECT_EQ(looper.handlers.count, 1);
    EXPECT_EQ(looper.refCount, 1);

    Recorder handler;
    EXPECT_TRUE(looper.addHandler(&handler));
    EXPECT_EQ(handler.messenger, &looper);
    EXPECT_EQ(handler.refCount, 2);
    Looper other;
    EXPECT_FALSE(other.addHandler(&handler));
    // Removing it from a messenger it is not registered with leaves it where it is.
    EXPECT_TRUE(other.removeHandler(&handler));
    EXPECT_EQ(handler.messenger, &looper);

    looper.defaultHandler = &handler;
    EXPECT_TRUE(looper.removeHandler(&handler));
    EXPECT_EQ(handler.messenger, nullptr);
    EXPECT_EQ(handler.refCount, 1);
    EXPECT_EQ(looper.defaultHandler, &looper);
}

TEST(Messenger, destroyingItLeavesItsHandlersWithoutAMessenger)
{
    Recorder kept;
    bool destroyed = false;
    {
        Looper looper;
        auto* heldByLooper = new Noted(&destroyed);
        looper.addHandler(heldByLooper);
        heldByLooper->release();
        looper.addHandler(&kept);
    }
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(kept.messenger, nullptr);
    EXPECT_EQ(kept.chain, nullptr);
    EXPECT_EQ(kept.refCount, 1);

    // A heap messenger destroyed by its last release, and a handler destroyed before it.
    auto* looper = new Looper;
    {
        Recorder early;
        looper->addHandler(&early);
        EXPECT_EQ(looper->handlers.count, 2);
    }
    EXPECT_EQ(looper->handlers.count, 1);
    looper->release();
}

TEST(Messenger, postAndSendRefuseWithoutARunningMessenger)
{
    Recorder loose;
    EXPECT_FALSE(Messenger::post(&loose, 1));
    EXPECT_FALSE(Messenger::send(&loose, 1));
    EXPECT_FALSE(Messenger::post(nullptr, 1));

    Looper looper;
    Recorder handler;
    looper.addHandler(&handler);
    EXPECT_FALSE(Messenger::post(&handler, 1));
    EXPECT_FALSE(Messenger::send(&handler, 1));
    EXPECT_FALSE(Messenger::post(new Message(1, &handler)));

    looper.start();
    looper.stop();
    EXPECT_FALSE(Messenger::post(&handler, 1));
    EXPECT_TRUE(handler.codes().empty());
}

TEST(Looper, startedTwiceAndStoppedTwice)
{
    Looper looper;
    EXPECT_FALSE(looper.stop());
    EXPECT_FALSE(looper.isRunning());
    ASSERT_TRUE(looper.start());
    Thread* thread = looper.thread;
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(thread->className(), "Object:Thread:LooperThread");
    EXPECT_TRUE(looper.isRunning());
    EXPECT_TRUE(looper.readySignal.isSet());
    EXPECT_FALSE(looper.start());
    EXPECT_EQ(looper.thread, thread);

    EXPECT_TRUE(looper.stop());
    EXPECT_FALSE(looper.isRunning());
    EXPECT_EQ(looper.thread, nullptr);
    EXPECT_FALSE(looper.stop());
}

TEST(Looper, servesInTheOrderOfHandingOverOnItsOwnThread)
{
    Looper looper;
    Recorder handler;
    looper.addHandler(&handler);
    std::atomic<DWORD> servedOn{0};
    Signal hold;
    handler.action = [&](Message& message) {
        servedOn = GetCurrentThreadId();
        if (message.what == 1) {
            hold.wait();
        }
    };
    ASSERT_TRUE(looper.start());
    EXPECT_TRUE(Messenger::post(&handler, 1));
    EXPECT_TRUE(Messenger::post(&handler, 2));
    // From another thread send does not wait for the message to be served.
    vardel::test::TestThread([&] { EXPECT_TRUE(Messenger::send(&handler, 3)); }).join();
    EXPECT_TRUE(handler.codes().empty());
    DWORD looperThread = looper.thread.load()->threadId;
    hold.set();
    looper.stop();
    EXPECT_EQ(handler.codes(), codes({1, 2, 3}));
    EXPECT_EQ(servedOn, looperThread);
}

TEST(Looper, sendOnTheServingThreadServesAtOnce)
{
    Looper looper;
    Recorder outer;
    Recorder inner;
    looper.addHandler(&outer);
    looper.addHandler(&inner);
    std::atomic<bool> servedBeforeReturn{false};
    outer.action = [&](Message&) {
        EXPECT_TRUE(Messenger::send(&inner, 9));
        servedBeforeReturn = inner.codes() == codes({9});
    };
    looper.start();
    Messenger::post(&outer, 1);
    looper.stop();
    EXPECT_TRUE(servedBeforeReturn);
}

TEST(Looper, carriesParametersToTheHandler)
{
    Looper looper;
    Recorder handler;
    looper.addHandler(&handler);
    int viewObject = 0;
    std::atomic<void*> seen{nullptr};
    handler.action = [&](Message& message) {
        if (Message::Parameter* view = message.find("view")) {
            seen = view->pointer();
        }
    };
    looper.start();
    auto* message = new Message(0x70000003, &handler);
    message->addParameter("view", &viewObject);
    EXPECT_TRUE(Messenger::post(message));
    looper.stop();
    EXPECT_EQ(seen, &viewObject);
}

TEST(Looper, stopOnItsOwnThreadEndsTheLoopAndALaterStopLetsTheThreadGo)
{
    Looper looper;
    Recorder handler;
    looper.addHandler(&handler);
    std::atomic<bool> stopResult{false};
    handler.action = [&](Message&) { stopResult = looper.stop(); };
    ASSERT_TRUE(looper.start());
    Thread* thread = looper.thread;
    thread->retain();
    Messenger::post(&handler, 1);
    // The thread ends on its own; its looper still names it.
    while (thread->startedSignal.isSet()) {
        Sleep(1);
    }
    EXPECT_TRUE(stopResult);
    EXPECT_EQ(looper.thread, thread);
    EXPECT_FALSE(looper.isRunning());
    EXPECT_FALSE(looper.start());

    EXPECT_TRUE(looper.stop());
    EXPECT_EQ(looper.thread, nullptr);
    EXPECT_EQ(thread->refCount, 1);
    thread->release();

    // A restarted looper serves at once.
    handler.action = nullptr;
    ASSERT_TRUE(looper.start());
    EXPECT_TRUE(looper.readySignal.isSet());
    EXPECT_TRUE(Messenger::post(&handler, 2));
    looper.stop();
    EXPECT_EQ(handler.codes(), codes({1, 2}));
}
