#pragma once

#include "object/Object.h"
#include "types/String.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>

namespace vardel::container {

// A pool of fixed-size slots for records that are made and dropped often. It grows in blocks of
// 64, 64, 128, 256, ... slots and hands freed slots out again before touching a new block. A capped
// pool's new block holds at most a third of the slots it has (at least 64), so that beyond its
// first 256 slots no more than a quarter of them lie unused.
template <typename T>
class Allocator : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Allocator)

    // A block starts with this header; its slots follow at slotOffset.
    struct Block {
        // The block made after this one, or null.
        Block* next;
    };
    // A free slot's first word links to the next free slot.
    struct FreeSlot {
        // The free slot handed out after this one, or null.
        FreeSlot* next;
    };

    // The alignment of every slot: enough for T and for the free-list link.
    static constexpr std::size_t slotAlignment = std::max(alignof(T), alignof(FreeSlot));
    // The bytes of a slot, rounded up to its alignment.
    static constexpr std::size_t slotSize =
        (std::max(sizeof(T), sizeof(FreeSlot)) + slotAlignment - 1) / slotAlignment * slotAlignment;
    // The header is padded so that every slot keeps T's alignment.
    static constexpr std::size_t slotOffset = (sizeof(Block) + slotAlignment - 1) / slotAlignment * slotAlignment;
    static_assert(slotAlignment <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "slots need an over-aligned block");

    Allocator() : firstBlock(nullptr), lastBlock(nullptr), freeList(nullptr), growBy(64), slotCount(0), capped(false)
    {
        // The first block leaves the step at 64, so that the next blocks hold 64, 128, 256, ...
        grow();
        growBy = 64;
    }

    // The slots die with the pool, so it hands its blocks back to the heap; while it lives it never
    // returns memory.
    ~Allocator() override
    {
        while (firstBlock) {
            Block* next = firstBlock->next;
            ::operator delete(firstBlock);
            firstBlock = next;
        }
    }

    Allocator(const Allocator&) = delete;
    Allocator& operator=(const Allocator&) = delete;

    // Slots
    // An uninitialised slot; the caller constructs the element in it.
    T* allocate()
    {
        if (!freeList)
            grow();
        FreeSlot* slot = freeList;
        freeList = slot->next;
        return reinterpret_cast<T*>(slot);
    }

    // Takes back a slot whose element is already destroyed; it is the next one handed out.
    void free(T* slot)
    {
        FreeSlot* freed = reinterpret_cast<FreeSlot*>(slot);
        freed->next = freeList;
        freeList = freed;
    }

    // Adds a block of growBy slots (fewer when capped), chained in address order ahead of the current
    // free list.
    void grow()
    {
        std::int32_t blockSlots = capped ? std::clamp(slotCount / 3, 64, growBy) : growBy;
        auto count = static_cast<std::size_t>(blockSlots);
        auto* block = static_cast<Block*>(::operator new(slotOffset + count * slotSize));
        block->next = nullptr;
        if (lastBlock)
            lastBlock->next = block;
        else
            firstBlock = block;
        lastBlock = block;

        std::byte* slots = reinterpret_cast<std::byte*>(block) + slotOffset;
        for (std::size_t i = 0; i < count; ++i) {
            auto* slot = reinterpret_cast<FreeSlot*>(slots + i * slotSize);
            slot->next = i + 1 < count ? reinterpret_cast<FreeSlot*>(slots + (i + 1) * slotSize) : freeList;
        }
        freeList = reinterpret_cast<FreeSlot*>(slots);
        slotCount += blockSlots;
        // A capped pool makes many more blocks; its doubling bound must not overflow.
        if (growBy <= std::numeric_limits<std::int32_t>::max() / 2)
            growBy *= 2;
    }

    // The oldest block, or null before the first slot is handed out.
    Block* firstBlock;
    // The newest block.
    Block* lastBlock;
    // The free slot handed out next, or null when a new block is needed.
    FreeSlot* freeList;
    // Slots of the next block; doubles with each block.
    std::int32_t growBy;
    // The slots of every block.
    std::int32_t slotCount;
    // Whether new blocks stay near a third of the slots so far, wasting at most a quarter of them.
    bool capped;
};

} // namespace vardel::container
