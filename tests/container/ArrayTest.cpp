#include "container/Array.h"

#include <gtest/gtest.h>

using vardel::container::Array;

TEST(Array, GrowsByTheCountClampedBetween4And1024AndShrinksInPlace)
{
    Array<unsigned int> array;
    EXPECT_EQ(array.className(), "Object:Array");
    array.resize(1);
    EXPECT_EQ(array.capacity, 1u);
    array.resize(2);
    EXPECT_EQ(array.capacity, 5u);
    array.resize(40);
    EXPECT_EQ(array.capacity, 40u) << "a larger request is taken exactly";
    array.resize(41);
    EXPECT_EQ(array.capacity, 80u);
    array[3] = 9;
    unsigned int* storage = array.elements;
    array.resize(4);
    EXPECT_EQ(array.capacity, 80u);
    EXPECT_EQ(array.elements, storage);
    EXPECT_EQ(array[3], 9u);
    array.resize(0);
    EXPECT_EQ(array.elements, nullptr);
    EXPECT_EQ(array.capacity, 0u);

    array.resize(2000);
    array.resize(2001);
    EXPECT_EQ(array.capacity, 3024u);
}

TEST(Array, RelocatesElementsBytewiseAndDestroysOnlyRemovedOnes)
{
    static int constructed, destroyed, copied;
    struct Tracked {
        Tracked() { ++constructed; }
        Tracked(const Tracked& other) : value(other.value) { ++copied; }
        ~Tracked() { ++destroyed; }
        int value = -1;
    };
    {
        Array<Tracked> array;
        array.resize(3);
        array[2].value = 12;
        array.resize(5);
        EXPECT_EQ(constructed, 5);
        EXPECT_EQ(copied + destroyed, 0) << "growing must move, not copy";
        EXPECT_EQ(array[2].value, 12);
        array.resize(2);
        EXPECT_EQ(destroyed, 3);
    }
    EXPECT_EQ(destroyed, 5);
}

TEST(Array, growthAfterAShrinkStepsFromTheCountNotTheCapacity)
{
    Array<unsigned int> array;
    array.resize(40);
    array.resize(41);
    ASSERT_EQ(array.capacity, 80u);
    array.resize(4);
    array.resize(81);
    // The count (4) sets the step: 80 + 4, not 80 + 80.
    EXPECT_EQ(array.capacity, 84u);
    EXPECT_EQ(array.count, 81u);
}
