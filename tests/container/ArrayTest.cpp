#include "container/Array.h"

#include <gtest/gtest.h>

using vardel::container::Array;

namespace {

// Counts what happens to elements, to tell relocation from copying.
struct Tracked {
    static inline int constructed = 0;
    static inline int destroyed = 0;
    static inline int copied = 0;

    Tracked() : value(-1) { ++constructed; }
    Tracked(const Tracked& other) : value(other.value) { ++copied; }
    ~Tracked() { ++destroyed; }

    static void reset() { constructed = destroyed = copied = 0; }

    int value;
};

} // namespace

TEST(Array, GrowsByTheCountClampedBetween4And1024)
{
    Array<unsigned int> array;
    EXPECT_EQ(array.className(), "Object:Array");
    EXPECT_EQ(array.elements, nullptr);

    array.resize(1);
    EXPECT_EQ(array.capacity, 1u);
    array.resize(2);
    EXPECT_EQ(array.capacity, 5u);
    array.resize(6);
    EXPECT_EQ(array.capacity, 9u);
    array.resize(40);
    EXPECT_EQ(array.capacity, 40u) << "a larger request is taken exactly";
    array.resize(41);
    EXPECT_EQ(array.capacity, 80u) << "the step follows the count";

    Array<unsigned int> large;
    large.resize(2000);
    EXPECT_EQ(large.capacity, 2000u);
    large.resize(2001);
    EXPECT_EQ(large.capacity, 3024u);
    EXPECT_EQ(large.count, 2001u);
}

TEST(Array, ShrinkingKeepsStorageAndZeroFreesIt)
{
    Array<unsigned int> array;
    array.resize(10);
    for (unsigned int i = 0; i < 10; ++i)
        array[i] = i * 3;
    unsigned int* storage = array.elements;
    array.resize(4);
    EXPECT_EQ(array.count, 4u);
    EXPECT_EQ(array.capacity, 10u);
    EXPECT_EQ(array.elements, storage);
    array.resize(7);
    EXPECT_EQ(array.elements, storage);
    EXPECT_EQ(array[3], 9u);

    array.resize(0);
    EXPECT_EQ(array.elements, nullptr);
    EXPECT_EQ(array.count, 0u);
    EXPECT_EQ(array.capacity, 0u);
}

TEST(Array, RelocatesElementsBytewiseAndDestroysOnlyRemovedOnes)
{
    Tracked::reset();
    {
        Array<Tracked> array;
        array.resize(3);
        for (unsigned int i = 0; i < 3; ++i)
            array[i].value = static_cast<int>(i) + 10;
        array.resize(5);
        EXPECT_EQ(Tracked::constructed, 5);
        EXPECT_EQ(Tracked::copied, 0);
        EXPECT_EQ(Tracked::destroyed, 0) << "moved elements must not be destroyed";
        EXPECT_EQ(array[0].value, 10);
        EXPECT_EQ(array[2].value, 12);
        EXPECT_EQ(array[3].value, -1);

        array.resize(2);
        EXPECT_EQ(Tracked::destroyed, 3);
        int sum = 0;
        for (const Tracked& element : array)
            sum += element.value;
        EXPECT_EQ(sum, 21);
    }
    EXPECT_EQ(Tracked::destroyed, 5);
}
