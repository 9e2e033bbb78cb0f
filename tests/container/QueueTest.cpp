#include "container/Queue.h"

#include <gtest/gtest.h>

#include <cstdint>

using vardel::container::Queue;

namespace {

struct Element {
    Queue<Element>* queue = nullptr;
    Element* next = nullptr;
    Element* previous = nullptr;
    std::int32_t refCount = 1;
    int releases = 0;

    void release()
    {
        ++releases;
        if (refCount >= 2)
            --refCount;
    }
};

} // namespace

TEST(Queue, PopsFromTheFrontAndHandsItsCountToTheCaller)
{
    Queue<Element> queue;
    EXPECT_EQ(queue.className(), "Object:Queue");
    Element first, second, third;
    queue.pushBack(&first);
    queue.pushBack(&second);
    queue.pushFront(&third);
    EXPECT_EQ(queue.count, 3);
    EXPECT_EQ(first.refCount, 2);
    EXPECT_EQ(third.next, &first);
    EXPECT_EQ(second.previous, &first);

    EXPECT_EQ(queue.popFront(), &third);
    EXPECT_EQ(queue.popFront(), &first);
    EXPECT_EQ(queue.popFront(), &second);
    EXPECT_EQ(queue.popFront(), nullptr);
    EXPECT_EQ(queue.last, nullptr);
    EXPECT_EQ(queue.count, 0);
    EXPECT_EQ(first.refCount, 2);
    EXPECT_EQ(first.releases, 0);
}

TEST(Queue, ClearAndDestructionReleaseEachElementOnce)
{
    Element a, b;
    {
        Queue<Element> queue;
        queue.pushBack(&a);
        queue.clear();
        EXPECT_EQ(a.releases, 1);
        EXPECT_EQ(a.refCount, 1);
        EXPECT_EQ(a.queue, nullptr);
        EXPECT_EQ(queue.first, nullptr);
        queue.pushFront(&b);
        EXPECT_EQ(queue.last, &b);
    }
    EXPECT_EQ(b.releases, 1);
    EXPECT_EQ(b.refCount, 1);
}
