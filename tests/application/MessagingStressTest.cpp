#include "application/Application.h"
#include "application/Looper.h"
#include "application/Message.h"

#include "support/TestThread.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

using vardel::application::Application;
using vardel::application::Handler;
using vardel::application::Looper;
using vardel::application::Message;
using vardel::application::Messenger;
using vardel::test::TestThread;

namespace {

constexpr int senders = 4;
constexpr int perSender = 100000;

// Checks, on the one thread that serves it, that each sender's numbers arrive once and in order.
struct SequenceChecker : Handler {
    SequenceChecker() { expected.fill(0); }

    bool handleMessage(Message& message) override
    {
        int sender = message.what / perSender;
        int number = message.what % perSender;
        if (sender < 0 || sender >= senders || number != expected[sender]) {
            ++faults;
        } else {
            ++expected[sender];
        }
        ++served;
        return true;
    }

    std::array<int, senders> expected;
    int faults = 0;
    int served = 0;
};

struct StressApplication : Application {
    bool ready() override
    {
        coordinator = TestThread([this] {
            std::vector<TestThread> posters;
            for (int sender = 0; sender < senders; ++sender) {
                posters.emplace_back([this, sender] {
                    for (int number = 0; number < perSender; ++number) {
                        std::int32_t what = sender * perSender + number;
                        if (!Messenger::post(looperChecker, what)) {
                            ++refusals;
                        }
                        // The loop may not run yet when the first messages come.
                        while (!Messenger::post(applicationChecker, what)) {
                            std::this_thread::yield();
                        }
                    }
                });
            }
            for (TestThread& poster : posters) {
                poster.join();
            }
            Application::quit();
        });
        return true;
    }

    SequenceChecker* looperChecker = nullptr;
    SequenceChecker* applicationChecker = nullptr;
    TestThread coordinator;
    std::atomic<int> refusals{0};
};

} // namespace

TEST(Messaging, fourSendersPostingToALooperAndTheApplicationLoseNothingAndKeepOrder)
{
    auto started = std::chrono::steady_clock::now();
    Looper looper;
    SequenceChecker looperChecker;
    looper.addHandler(&looperChecker);
    ASSERT_TRUE(looper.start());

    StressApplication application;
    SequenceChecker applicationChecker;
    application.addHandler(&applicationChecker);
    application.looperChecker = &looperChecker;
    application.applicationChecker = &applicationChecker;
    EXPECT_TRUE(application.run());
    application.coordinator.join();
    // Every message posted before the quit request is served before the loop ends.
    looper.stop();

    for (SequenceChecker* checker : {&looperChecker, &applicationChecker}) {
        EXPECT_EQ(checker->faults, 0);
        EXPECT_EQ(checker->served, senders * perSender);
        for (int sender = 0; sender < senders; ++sender) {
            EXPECT_EQ(checker->expected[sender], perSender);
        }
    }
    EXPECT_EQ(application.refusals, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(200));
}
