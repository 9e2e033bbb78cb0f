#include "platform/Win32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <ctime>
#include <thread>
#include <vector>

#include <unistd.h>

#include "platform/posix/MessageQueue.h"
#include "platform/posix/MessageSource.h"

using vardel::platform::posix::MessageQueue;
using vardel::platform::posix::MessageSource;

namespace {

double threadCpuSeconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

// A source fed through a pipe: each byte becomes a message with that byte as wParam, and while
// `invalid` is set it offers WM_PAINT when nothing else is pending.
struct PipeSource : MessageSource {
    PipeSource()
    {
        EXPECT_EQ(pipe(ends), 0);
    }
    ~PipeSource() override
    {
        close(ends[0]);
        close(ends[1]);
    }
    int descriptor() override { return ends[0]; }
    void pump(MessageQueue& queue) override
    {
        if (bytes > 0) {
            unsigned char byte;
            EXPECT_EQ(read(ends[0], &byte, 1), 1);
            --bytes;
            queue.post(MSG{nullptr, WM_USER + 7, byte, 0, MessageQueue::now(), {0, 0}});
        }
    }
    bool idle(MSG& message, HWND, UINT first, UINT last, bool remove) override
    {
        if (!invalid || !(first == 0 || (WM_PAINT >= first && WM_PAINT <= last))) {
            return false;
        }
        message = MSG{nullptr, WM_PAINT, 0, 0, MessageQueue::now(), {0, 0}};
        invalid = !remove;
        return true;
    }
    void send(unsigned char byte)
    {
        ++bytes;
        EXPECT_EQ(write(ends[1], &byte, 1), 1);
    }
    int ends[2];
    std::atomic<int> bytes{0};
    bool invalid = false;
};

} // namespace

TEST(MessageQueue, postingNeedsTheTargetsQueueAndKeepsOrder)
{
    HANDLE hasQueue = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE mayPeek = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<DWORD> id{0};
    std::vector<UINT> received;
    std::thread target([&] {
        id = GetCurrentThreadId();
        WaitForSingleObject(mayPeek, INFINITE);
        MSG msg;
        EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE));
        SetEvent(hasQueue);
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            received.push_back(msg.message);
        }
        EXPECT_EQ(msg.message, WM_QUIT);
    });
    while (id == 0) {
        std::this_thread::yield();
    }
    EXPECT_FALSE(PostThreadMessageA(id, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_THREAD_ID);
    SetEvent(mayPeek);
    WaitForSingleObject(hasQueue, INFINITE);
    for (UINT message = WM_USER + 1; message <= WM_USER + 50; ++message) {
        EXPECT_TRUE(PostThreadMessageA(id, message, 0, 0));
    }
    EXPECT_TRUE(PostThreadMessageA(id, WM_QUIT, 0, 0));
    target.join();
    ASSERT_EQ(received.size(), 50u);
    for (UINT i = 0; i < 50; ++i) {
        EXPECT_EQ(received[i], WM_USER + 1 + i);
    }
    // The thread has ended, and its queue with it.
    EXPECT_FALSE(PostThreadMessageA(id, WM_USER, 0, 0));
    CloseHandle(hasQueue);
    CloseHandle(mayPeek);
}

// A poster keeps the queue it last posted to; switching between targets must still reach each
// one, in order, and a target that ended must refuse.
TEST(MessageQueue, aPosterSwitchingBetweenThreadsReachesEachInOrder)
{
    struct Target {
        std::atomic<DWORD> id{0};
        std::vector<WPARAM> received;
        std::thread thread;
    };
    Target targets[2];
    for (Target& target : targets) {
        target.thread = std::thread([&target] {
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
            target.id = GetCurrentThreadId();
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
                target.received.push_back(msg.wParam);
            }
        });
        while (target.id == 0) {
            std::this_thread::yield();
        }
    }
    for (WPARAM number = 0; number < 300; ++number) {
        Target& target = targets[number % 3 == 0 ? 0 : 1];
        EXPECT_TRUE(PostThreadMessageA(target.id, WM_USER, number, 0));
    }
    EXPECT_TRUE(PostThreadMessageA(targets[0].id, WM_QUIT, 0, 0));
    targets[0].thread.join();
    EXPECT_FALSE(PostThreadMessageA(targets[0].id, WM_USER, 0, 0));
    EXPECT_TRUE(PostThreadMessageA(targets[1].id, WM_QUIT, 0, 0));
    targets[1].thread.join();
    ASSERT_EQ(targets[0].received.size(), 100u);
    ASSERT_EQ(targets[1].received.size(), 200u);
    for (std::size_t i = 0; i < 100; ++i) {
        EXPECT_EQ(targets[0].received[i], 3 * i);
        EXPECT_EQ(targets[1].received[2 * i], 3 * i + 1);
        EXPECT_EQ(targets[1].received[2 * i + 1], 3 * i + 2);
    }
}

TEST(MessageQueue, messagesCarryTheTimeOfPostingInMillisecondsOfTheMonotonicClock)
{
    auto milliseconds = [] {
        timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        return static_cast<DWORD>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
    };
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    DWORD self = GetCurrentThreadId();
    DWORD before = milliseconds();
    PostThreadMessageA(self, WM_USER, 0, 0);
    Sleep(50);
    PostThreadMessageA(self, WM_USER + 1, 0, 0);
    DWORD after = milliseconds();
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
    DWORD first = msg.time;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 1, WM_USER + 1, PM_REMOVE));
    DWORD second = msg.time;
    // A stamp may lag by up to a clock tick, but never lead.
    constexpr DWORD tick = 20;
    EXPECT_LE(before, first + tick);
    EXPECT_LE(first, second);
    EXPECT_GE(second - first, 50 - tick);
    EXPECT_LE(second, after);
}

TEST(MessageQueue, peekFiltersAndKeepsWhatItDoesNotRemove)
{
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    DWORD self = GetCurrentThreadId();
    PostThreadMessageA(self, WM_USER + 1, 11, 0);
    PostThreadMessageA(self, WM_USER + 2, 22, 0);
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 2, WM_USER + 2, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 22u);
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 2, WM_USER + 2, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER + 2, WM_USER + 2, PM_REMOVE));
    PostThreadMessageA(self, WM_QUIT, 0, 0);
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.wParam, 11u);
    EXPECT_EQ(GetMessageA(&msg, nullptr, WM_USER, WM_USER), FALSE);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(MessageQueue, waitingForAMessageSleepsUntilOneIsPosted)
{
    std::atomic<DWORD> id{0};
    double cpu = 0;
    std::thread target([&] {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
        double before = threadCpuSeconds();
        id = GetCurrentThreadId();
        EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
        EXPECT_EQ(msg.message, WM_USER + 3u);
        cpu = threadCpuSeconds() - before;
    });
    while (id == 0) {
        std::this_thread::yield();
    }
    Sleep(300);
    EXPECT_TRUE(PostThreadMessageA(id, WM_USER + 3, 0, 0));
    target.join();
    EXPECT_LT(cpu, 0.05);
}

// Posts wake only a sleeping owner; one that arrives while it looks must not be slept on, and a
// pending message the filter leaves out must not keep the wait from sleeping.
TEST(MessageQueue, aFilteredWaitSleepsPastOtherMessagesAndWakesForEveryBurst)
{
    std::atomic<DWORD> id{0};
    std::atomic<int> received{0};
    double cpu = 0;
    std::thread target([&] {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
        id = GetCurrentThreadId();
        double before = threadCpuSeconds();
        EXPECT_EQ(GetMessageA(&msg, nullptr, WM_USER + 5, WM_USER + 5), TRUE);
        cpu = threadCpuSeconds() - before;
        while (GetMessageA(&msg, nullptr, WM_USER + 5, WM_USER + 5)) {
            ++received;
        }
    });
    while (id == 0) {
        std::this_thread::yield();
    }
    EXPECT_TRUE(PostThreadMessageA(id, WM_USER + 1, 0, 0));
    Sleep(200);
    EXPECT_TRUE(PostThreadMessageA(id, WM_USER + 5, 0, 0));
    for (int burst = 0; burst < 200; ++burst) {
        for (int i = 0; i < 50; ++i) {
            EXPECT_TRUE(PostThreadMessageA(id, WM_USER + 5, 0, 0));
        }
        if (burst % 20 == 0) {
            Sleep(1);
        }
    }
    while (received < 200 * 50) {
        std::this_thread::yield();
    }
    EXPECT_TRUE(PostThreadMessageA(id, WM_QUIT, 0, 0));
    target.join();
    EXPECT_LT(cpu, 0.05);
}

TEST(MessageQueue, sourcesWakeTheWaitAndIdleMessagesComeLast)
{
    PipeSource source;
    MessageQueue& queue = MessageQueue::current();
    queue.addSource(&source);
    DWORD self = GetCurrentThreadId();
    std::thread writer([&] {
        Sleep(100);
        source.send(42);
    });
    MSG msg;
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, WM_USER + 7u);
    EXPECT_EQ(msg.wParam, 42u);
    writer.join();

    source.invalid = true;
    PostThreadMessageA(self, WM_USER, 0, 0);
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER);
    GetMessageA(&msg, nullptr, 0, 0);
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_PAINT);
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, WM_PAINT);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    queue.removeSource(&source);
}

TEST(MessageQueue, aMessagePostedWhileLookingIsTakenInsteadOfSleeping)
{
    // Its idle step posts one thread message: after the look at the posted messages, before the
    // owner sleeps, when a post wakes no one.
    struct PostingSource : MessageSource {
        int descriptor() override { return -1; }
        void pump(MessageQueue&) override {}
        bool idle(MSG&, HWND, UINT, UINT, bool) override
        {
            if (!posted) {
                posted = true;
                PostThreadMessageA(GetCurrentThreadId(), WM_USER + 9, 0, 0);
            }
            return false;
        }
        bool posted = false;
    };
    std::atomic<DWORD> owner{0};
    std::atomic<UINT> taken{0};
    std::thread thread([&] {
        PostingSource source;
        MessageQueue& queue = MessageQueue::current();
        queue.addSource(&source);
        owner = GetCurrentThreadId();
        MSG msg;
        GetMessageA(&msg, nullptr, 0, 0);
        taken = msg.message;
        queue.removeSource(&source);
    });
    for (int waited = 0; taken == 0 && waited < 2000; waited += 10) {
        Sleep(10);
    }
    // A lost wake-up leaves the owner asleep on the message: a quit frees it.
    bool slept = taken == 0;
    if (slept && owner != 0) {
        PostThreadMessageA(owner, WM_QUIT, 0, 0);
    }
    thread.join();
    EXPECT_FALSE(slept) << "GetMessageA slept with a message in the queue";
    EXPECT_EQ(taken, WM_USER + 9u);
}
