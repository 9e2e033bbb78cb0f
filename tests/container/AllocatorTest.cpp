#include "container/Allocator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>

using vardel::container::Allocator;

TEST(Allocator, GrowsInBlocksOf64Then64Then128AndReusesFreedSlotsFirst)
{
    Allocator<int> pool;
    EXPECT_EQ(pool.className(), "Object:Allocator");
    std::set<int*> slots;
    int* first = pool.allocate();
    int* second = pool.allocate();
    EXPECT_EQ(reinterpret_cast<char*>(second) - reinterpret_cast<char*>(first), 8) << "pointer-sized, in address order";
    pool.free(first);
    EXPECT_EQ(pool.allocate(), first);

    for (int i = 2; i < 64; ++i)
        slots.insert(pool.allocate());
    EXPECT_EQ(pool.firstBlock, pool.lastBlock);
    EXPECT_EQ(pool.growBy, 64);
    slots.insert(pool.allocate());
    EXPECT_NE(pool.firstBlock->next, nullptr);
    EXPECT_EQ(pool.growBy, 128);
    for (int i = 65; i < 129; ++i)
        slots.insert(pool.allocate());
    EXPECT_EQ(pool.growBy, 256) << "the 129th slot opens a block of 128";
    EXPECT_EQ(slots.size(), 127u) << "a slot was handed out twice";

    struct alignas(8) Record {
        char bytes[20];
    };
    Allocator<Record> records;
    for (int i = 0; i < 70; ++i)
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(records.allocate()) % 8, 0u);
}

TEST(Allocator, CappedPoolLeavesAtMostAQuarterUnusedBeyondItsFirstBlocks)
{
    Allocator<int> pool;
    pool.capped = true;
    std::set<int*> slots;
    int worst = 0;
    for (int used = 1; used <= 20000; ++used) {
        slots.insert(pool.allocate());
        if (pool.slotCount > 256)
            worst = std::max(worst, 100 * (pool.slotCount - used) / pool.slotCount);
    }
    EXPECT_EQ(slots.size(), 20000u) << "a slot was handed out twice";
    EXPECT_LE(worst, 25);
    EXPECT_GT(worst, 15) << "blocks grow with the pool, not by 64 at a time";
    int blocks = 0;
    for (auto* block = pool.firstBlock; block; block = block->next)
        ++blocks;
    EXPECT_LT(blocks, 30);
}
