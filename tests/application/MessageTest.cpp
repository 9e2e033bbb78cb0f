#include "application/Message.h"
#include "application/MessageQueue.h"

#include "support/TestThread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#ifndef _WIN32
#include <thread>
#endif

using vardel::application::Message;
using vardel::application::MessageQueue;

namespace {

// A thread whose join returns only once its thread-local objects are gone. A thread handle of our
// posix layer is signalled when the thread's body returns, before them; on Windows the handle of
// a CreateThread thread is signalled after them.
#ifdef _WIN32
using FinishedThread = vardel::test::TestThread;
#else
using FinishedThread = std::thread;
#endif

} // namespace

TEST(Message, aReleasedMessageIsTheNextOneThePoolHandsOut)
{
    auto* first = new Message(1, nullptr);
    EXPECT_EQ(first->refCount, 1);
    EXPECT_EQ(first->parameters.count, 0);
    first->release();
    auto* second = new Message(2, nullptr);
    EXPECT_EQ(second, first);
    EXPECT_EQ(second->what, 2);
    EXPECT_EQ(second->refCount, 1);

    // Parameters go back to their own pool with the message.
    int viewObject = 0;
    void* parameter = second->addParameter("view", &viewObject);
    second->release();
    auto* third = new Message(3, nullptr);
    EXPECT_EQ(third, first);
    EXPECT_EQ(third->addParameter("other", nullptr), parameter);
    delete third;
}

TEST(Message, releaseAboveOneOnlyDropsACount)
{
    auto* message = new Message(7, nullptr);
    message->refCount = 3;
    message->release();
    EXPECT_EQ(message->refCount, 2);
    message->release();
    EXPECT_EQ(message->refCount, 1);
    message->release();
    auto* next = new Message(8, nullptr);
    EXPECT_EQ(next, message);
    next->release();
}

TEST(Message, findReturnsTheFrontmostParameterOfThatName)
{
    Message message(1, nullptr);
    EXPECT_EQ(message.find("view"), nullptr);
    int first = 0;
    int second = 0;
    message.addParameter("viewer", nullptr);
    Message::Parameter* front = message.addParameter("view", &first);
    message.addParameter("view", &second);
    EXPECT_EQ(message.find("view"), front);
    EXPECT_EQ(message.find("view")->pointer(), &first);
    EXPECT_EQ(message.find("vie"), nullptr);
    EXPECT_EQ(message.find("views"), nullptr);
    EXPECT_EQ(message.find(nullptr), nullptr);
    EXPECT_EQ(message.parameters.count, 3);
}

TEST(Message, longNamesAreCutAndFoundOverTheirKeptCharacters)
{
    const std::string kept(47, 'n');
    const std::string longName = kept + "-and-a-tail-well-beyond-the-slot";
    int object = 0;
    Message message(1, nullptr);
    Message::Parameter* parameter = message.addParameter(longName.c_str(), &object);
    EXPECT_EQ(std::strlen(parameter->name), 47u);
    EXPECT_EQ(std::string(parameter->name), kept);
    // The value after the name is intact.
    EXPECT_EQ(parameter->pointer(), &object);

    EXPECT_EQ(message.find(longName.c_str()), parameter);
    // Names that share their first 48 characters match; one that differs before that does not.
    EXPECT_EQ(message.find((kept + "-something-else").c_str()), parameter);
    EXPECT_EQ(message.find(kept.c_str()), parameter);
    std::string early = longName;
    early[20] = 'x';
    EXPECT_EQ(message.find(early.c_str()), nullptr);
    EXPECT_EQ(message.find(kept.substr(0, 46).c_str()), nullptr);
}

TEST(MessageQueue, destroyingItReleasesEachMessageStillInItOnce)
{
    auto* kept = new Message(1, nullptr);
    auto* dropped = new Message(2, nullptr);
    {
        MessageQueue queue;
        EXPECT_EQ(queue.className(), "Object:MessageQueue");
        queue.pushBack(kept);
        queue.pushFront(dropped);
        EXPECT_EQ(kept->refCount, 2);
        // The queue's count is the only one left on this message.
        dropped->release();
        EXPECT_EQ(dropped->refCount, 1);
    }
    EXPECT_EQ(kept->refCount, 1);
    EXPECT_EQ(kept->queue, nullptr);
    // dropped went back to the pool, then kept does.
    auto* reused = new Message(3, nullptr);
    EXPECT_EQ(reused, dropped);
    reused->release();
    kept->release();
}

TEST(Message, messagesMadeOnOneThreadAndDroppedOnAnotherComeBackWhole)
{
    // Each maker hands its messages to the dropper through a chain of slots of its own; the
    // dropper checks them and drops them, so slots keep moving between the threads' stocks and
    // the pools.
    constexpr int makers = 3;
    constexpr int perMaker = 5000;
    std::vector<std::vector<Message*>> made(makers, std::vector<Message*>(perMaker));
    std::vector<vardel::test::TestThread> threads;
    for (int maker = 0; maker < makers; ++maker) {
        threads.emplace_back([&, maker] {
            for (int i = 0; i < perMaker; ++i) {
                auto* message = new Message(maker * perMaker + i, nullptr);
                message->addParameter("index", &made[maker][i]);
                made[maker][i] = message;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    std::vector<Message*> all;
    for (auto& list : made) {
        all.insert(all.end(), list.begin(), list.end());
    }
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end()) << "a slot was handed out twice";

    vardel::test::TestThread dropper([&] {
        for (int maker = 0; maker < makers; ++maker) {
            for (int i = 0; i < perMaker; ++i) {
                Message* message = made[maker][i];
                EXPECT_EQ(message->what, maker * perMaker + i);
                ASSERT_EQ(message->parameters.count, 1);
                EXPECT_EQ(message->find("index")->pointer(), &made[maker][i]);
                message->release();
            }
        }
    });
    dropper.join();
}

TEST(Message, theSlotsAThreadKeptGoBackToThePoolWhenItEnds)
{
    Message* madeThere = nullptr;
    FinishedThread([&] {
        madeThere = new Message(1, nullptr);
        delete madeThere;
    }).join();
    // A new thread stocks up from the pool, where the ended thread's slots were put back late:
    // only threads of earlier tests that were still ending can have put back theirs after them.
    std::vector<Message*> madeHere;
    FinishedThread([&] {
        for (int i = 0; i < 4096; ++i) {
            madeHere.push_back(new Message(2, nullptr));
        }
        for (Message* message : madeHere) {
            message->release();
        }
    }).join();
    EXPECT_NE(std::find(madeHere.begin(), madeHere.end(), madeThere), madeHere.end());
}
