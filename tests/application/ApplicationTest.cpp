#include "application/Application.h"
#include "application/Message.h"
#include "system/Signal.h"
#include "system/Thread.h"

#include "Recorder.h"
#include "support/TestThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

using vardel::application::Application;
using vardel::application::Message;
using vardel::application::Messenger;
using vardel::application::theApplication;
using vardel::system::Signal;
using vardel::system::Thread;
using vardel::test::TestThread;

namespace {

// An application whose ready() hands the test a helper thread, joined when the application goes away.
struct TestApplication : Application {
    bool ready() override
    {
        ++readyCalls;
        if (helperBody) {
            helper = TestThread(helperBody);
        }
        return readyResult;
    }
    bool quitting() override
    {
        ++quittingCalls;
        return true;
    }

    std::function<void()> helperBody;
    TestThread helper;
    bool readyResult = true;
    int readyCalls = 0;
    int quittingCalls = 0;
};

// Posts until the application's loop accepts messages.
void postOnceRunning(Recorder* handler, std::int32_t what)
{
    while (!Messenger::post(handler, what)) {
        std::this_thread::yield();
    }
}

std::vector<std::int32_t> codes(std::initializer_list<std::int32_t> list)
{
    return std::vector<std::int32_t>(list);
}

} // namespace

TEST(Application, refusesMessagesBeforeRunAndServesThemInOrderAfter)
{
    auto* application = new TestApplication;
    EXPECT_EQ(theApplication, application);
    EXPECT_EQ(application->className(), "Object:Handler:Messenger:Application");
    EXPECT_FALSE(application->runsOwnThread());
    Recorder handler;
    application->addHandler(&handler);
    EXPECT_FALSE(Messenger::post(&handler, 1));
    EXPECT_FALSE(Application::quit());

    application->helperBody = [&] {
        postOnceRunning(&handler, 2);
        Messenger::post(&handler, 3);
        Application::quit();
        Messenger::post(&handler, 4);
    };
    EXPECT_TRUE(application->run());
    EXPECT_EQ(application->thread, Thread::current());
    EXPECT_EQ(handler.codes(), codes({2, 3}));
    EXPECT_EQ(application->readyCalls, 1);
    EXPECT_EQ(application->quittingCalls, 1);
    EXPECT_EQ(theApplication, application);
    application->helper.join();
    // Message 4 stays queued until the application goes.
    EXPECT_EQ(application->queue.messages.count, 1);
    application->release();
    EXPECT_EQ(theApplication, nullptr);
}

TEST(Application, aSendFromAnotherThreadOvertakesQueuedMessages)
{
    TestApplication application;
    Recorder handler;
    application.addHandler(&handler);
    Signal serving;
    Signal queued;
    handler.action = [&](Message& message) {
        if (message.what == 1) {
            serving.set();
            queued.wait();
        }
    };
    application.helperBody = [&] {
        postOnceRunning(&handler, 1);
        serving.wait();
        Messenger::post(&handler, 'A');
        Messenger::post(&handler, 'B');
        Messenger::send(&handler, 'S');
        Application::quit();
        queued.set();
    };
    EXPECT_TRUE(application.run());
    EXPECT_EQ(handler.codes(), codes({1, 'S', 'A', 'B'}));
}

// The loop takes everything queued at once; what it has taken and not yet served still counts as
// queued: a send overtakes it, and a handler's exception leaves it in the queue.
TEST(Application, messagesTakenTogetherStillQueueBehindSendsAndStayQueuedWhenAHandlerThrows)
{
    TestApplication application;
    Recorder handler;
    application.addHandler(&handler);
    Signal holding;
    Signal queued;
    Signal sent;
    handler.action = [&](Message& message) {
        if (message.what == 0) {
            holding.set();
            queued.wait();
        } else if (message.what == 1) {
            // A, B and the quit message were taken with this one.
            TestThread([&] { Messenger::send(&handler, 'S'); }).join();
        }
    };
    application.helperBody = [&] {
        postOnceRunning(&handler, 0);
        holding.wait();
        Messenger::post(&handler, 1);
        Messenger::post(&handler, 'A');
        Messenger::post(&handler, 'B');
        Application::quit();
        queued.set();
    };
    EXPECT_TRUE(application.run());
    EXPECT_EQ(handler.codes(), codes({0, 1, 'S', 'A', 'B'}));
    application.helper.join();

    struct Failure {};
    TestApplication throwing;
    Recorder thrower;
    throwing.addHandler(&thrower);
    thrower.action = [&](Message& message) {
        if (message.what == 0) {
            holding.set();
            queued.wait();
        } else if (message.what == 1) {
            throw Failure();
        }
    };
    holding.reset();
    queued.reset();
    throwing.helperBody = [&] {
        postOnceRunning(&thrower, 0);
        holding.wait();
        Messenger::post(&thrower, 1);
        Messenger::post(&thrower, 2);
        Messenger::post(&thrower, 3);
        queued.set();
    };
    EXPECT_THROW(throwing.run(), Failure);
    throwing.helper.join();
    ASSERT_EQ(throwing.queue.messages.count, 2);
    EXPECT_EQ(throwing.queue.messages.first->what, 2);
    EXPECT_EQ(throwing.queue.messages.last->what, 3);
    EXPECT_EQ(throwing.queue.messages.first->next, throwing.queue.messages.last);
}

TEST(Application, theQuitCodeForAnotherHandlerIsAnOrdinaryMessage)
{
    TestApplication application;
    Recorder handler;
    application.addHandler(&handler);
    application.helperBody = [&] {
        postOnceRunning(&handler, Application::quitApplication);
        Messenger::post(&handler, 2);
        Application::quit();
    };
    EXPECT_TRUE(application.run());
    EXPECT_EQ(handler.codes(), codes({Application::quitApplication, 2}));
    EXPECT_EQ(application.quittingCalls, 1);
}

TEST(Application, sendOnTheMainThreadServesAtOnce)
{
    TestApplication application;
    Recorder outer;
    Recorder inner;
    application.addHandler(&outer);
    application.addHandler(&inner);
    bool servedBeforeReturn = false;
    outer.action = [&](Message&) {
        EXPECT_TRUE(Messenger::send(&inner, 9));
        servedBeforeReturn = inner.codes() == codes({9});
        Application::quit();
    };
    application.helperBody = [&] { postOnceRunning(&outer, 1); };
    EXPECT_TRUE(application.run());
    EXPECT_TRUE(servedBeforeReturn);
}

TEST(Application, aReadyThatFailsEndsRunAtOnce)
{
    TestApplication application;
    application.readyResult = false;
    EXPECT_FALSE(application.run());
    EXPECT_EQ(application.thread, nullptr);
    EXPECT_EQ(application.quittingCalls, 0);
}

// Each send waits for the previous one to be served, so the loop is often just about to wait
// when the next arrives: a lost wake-up hangs here.
TEST(Application, sendsOneAtATimeAreNeverLeftWaiting)
{
    TestApplication application;
    Recorder handler;
    application.addHandler(&handler);
    std::atomic<int> served{0};
    handler.action = [&](Message&) { ++served; };
    application.helperBody = [&] {
        postOnceRunning(&handler, 0);
        for (int i = 1; i <= 20000; ++i) {
            while (served < i) {
                std::this_thread::yield();
            }
            Messenger::send(&handler, i);
        }
        Application::quit();
    };
    EXPECT_TRUE(application.run());
    EXPECT_EQ(served, 20001);
}

// The loop may serve a post and end, and its owner free the application, before the posting thread
// has returned: nothing of the application may be touched by a post once its message is queued.
TEST(Application, aPostThatEndsTheLoopTouchesNothingOnceTheApplicationCanGo)
{
    for (int round = 0; round < 300; ++round) {
        auto* application = new Application;
        Recorder handler;
        application->addHandler(&handler);
        TestThread poster([&] {
            postOnceRunning(&handler, 1);
            for (int i = 0; i < 20; ++i) {
                Messenger::post(&handler, 2);
            }
            Application::quit();
        });
        EXPECT_TRUE(application->run());
        application->release();
        poster.join();
        ASSERT_EQ(handler.codes().size(), 21u);
    }
}
