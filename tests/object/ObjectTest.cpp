#include "object/Class.h"
#include "object/Exception.h"
#include "object/Object.h"
#include "types/String.h"

#include "support/TestThread.h"

#include <gtest/gtest.h>

#include <new>
#include <vector>

using vardel::object::Exception;
using vardel::object::Object;
using vardel::test::TestThread;
using vardel::types::String;

namespace {

// Counts destructions so that a test can tell when release() really destroyed.
struct Probe : Object {
    VARDEL_CLASS_PATH(Object, Probe)
    explicit Probe(int* destroyed) : destroyed(destroyed) {}
    ~Probe() override { ++*destroyed; }
    int* destroyed;
};

struct SubProbe : Probe {
    VARDEL_CLASS_PATH(Probe, SubProbe)
    using Probe::Probe;
};

VARDEL_EXCEPTION(SampleException, Exception);
VARDEL_EXCEPTION(DeeperException, SampleException);

} // namespace

TEST(Object, referenceCountingDestroysOnLastRelease)
{
    int destroyed = 0;
    auto* probe = new Probe(&destroyed);
    EXPECT_EQ(probe->refCount, 1);
    probe->retain();
    probe->release();
    EXPECT_EQ(probe->refCount, 1);
    EXPECT_EQ(destroyed, 0);
    probe->release();
    EXPECT_EQ(destroyed, 1);
}

TEST(Object, copyStartsWithItsOwnReference)
{
    int destroyed = 0;
    Probe original(&destroyed);
    for (int i = 0; i < 4; ++i) {
        original.retain();
    }
    Probe copy(original);
    EXPECT_EQ(original.refCount, 5);
    EXPECT_EQ(copy.refCount, 1);
    copy = original;
    EXPECT_EQ(copy.refCount, 1);
}

TEST(Object, destructorFreesAttachmentsAndLeavesCountAtZero)
{
    alignas(Object) unsigned char storage[sizeof(Object)];
    auto* object = new (storage) Object();
    object->attachments = new Object::Attachment{nullptr, new Object::Attachment{nullptr, nullptr}};
    object->~Object();
    EXPECT_EQ(object->refCount, 0);
    EXPECT_EQ(object->attachments, nullptr);
}

TEST(Object, classPathsFollowTheDynamicClass)
{
    int destroyed = 0;
    SubProbe sub(&destroyed);
    const Object& asObject = sub;
    EXPECT_EQ(asObject.className(), "Object:Probe:SubProbe");
    EXPECT_EQ(asObject.getName(), "Object:Probe:SubProbe");
    EXPECT_EQ(asObject.toString(), "Object:Probe:SubProbe");
    EXPECT_TRUE(asObject.isValid());

    Object plain;
    EXPECT_EQ(plain.getName(), "Object");
    EXPECT_EQ(plain.toString(), "Object");
    EXPECT_EQ(String().className(), "Object:String");
    EXPECT_EQ(vardel::object::Class(plain).className(), "Object:Class");
    EXPECT_EQ(vardel::object::Class(sub).name, "Object:Probe:SubProbe");
}

TEST(Object, releaseFromManyThreadsDestroysExactlyOnce)
{
    int destroyed = 0;
    auto* probe = new Probe(&destroyed);
    constexpr int kThreads = 4, kEach = 10000;
    for (int i = 0; i < kThreads * kEach; ++i) {
        probe->retain();
    }
    std::vector<TestThread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < kEach; ++i) {
                probe->release();
            }
        });
    }
    for (auto& t : threads) {
        t.join();
    }
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(probe->refCount, 1);
    probe->release();
    EXPECT_EQ(destroyed, 1);
}

TEST(Exception, namesMessagesAndPaths)
{
    Exception plain("went wrong");
    EXPECT_EQ(plain.getName(), "Exception");
    EXPECT_EQ(plain.toString(), "went wrong");
    EXPECT_EQ(plain.className(), "Object:Exception");

    DeeperException unnamed;
    EXPECT_EQ(unnamed.getName(), "DeeperException");
    EXPECT_EQ(unnamed.toString(), "DeeperException");
    EXPECT_EQ(unnamed.className(), "Object:Exception:SampleException:DeeperException");

    try {
        throw DeeperException("detail");
    } catch (const Exception& caught) {
        Exception copy(caught);
        EXPECT_EQ(copy.refCount, 1);
        EXPECT_EQ(caught.toString(), "detail");
        EXPECT_EQ(caught.getName(), "DeeperException");
    }
}
