#include "container/Allocator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

using vardel::container::Allocator;

namespace {

int blockCount(const Allocator<int>& pool)
{
    int blocks = 0;
    for (auto* block = pool.firstBlock; block; block = block->next)
        ++blocks;
    return blocks;
}

} // namespace

TEST(Allocator, GrowsInBlocksOf64Then64Then128)
{
    Allocator<int> pool;
    EXPECT_EQ(pool.className(), "Object:Allocator");
    EXPECT_EQ(blockCount(pool), 1);
    EXPECT_EQ(pool.growBy, 64);

    std::set<int*> slots;
    for (int i = 0; i < 64; ++i)
        slots.insert(pool.allocate());
    EXPECT_EQ(blockCount(pool), 1);
    slots.insert(pool.allocate());
    EXPECT_EQ(blockCount(pool), 2);
    EXPECT_EQ(pool.growBy, 128);
    for (int i = 65; i < 128; ++i)
        slots.insert(pool.allocate());
    EXPECT_EQ(blockCount(pool), 2);
    slots.insert(pool.allocate());
    EXPECT_EQ(blockCount(pool), 3);
    EXPECT_EQ(pool.growBy, 256);
    EXPECT_EQ(slots.size(), 129u) << "a slot was handed out twice";
}

TEST(Allocator, HandsOutABlockInAddressOrderAndAFreedSlotNext)
{
    Allocator<int> pool;
    int* first = pool.allocate();
    int* second = pool.allocate();
    int* third = pool.allocate();
    // Slots are at least pointer-sized, so that a free slot can hold its link.
    EXPECT_EQ(reinterpret_cast<char*>(second) - reinterpret_cast<char*>(first), static_cast<long>(sizeof(void*)));
    EXPECT_LT(second, third);

    pool.free(second);
    EXPECT_EQ(pool.allocate(), second);
    pool.free(first);
    pool.free(third);
    EXPECT_EQ(pool.allocate(), third);
    EXPECT_EQ(pool.allocate(), first);
}

TEST(Allocator, KeepsSlotsEightByteAligned)
{
    struct alignas(8) Record {
        char bytes[20];
    };
    Allocator<Record> pool;
    std::vector<Record*> records;
    for (int i = 0; i < 200; ++i)
        records.push_back(pool.allocate());
    for (Record* record : records)
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(record) % 8, 0u);
    EXPECT_EQ(reinterpret_cast<char*>(records[1]) - reinterpret_cast<char*>(records[0]), 24);
}
