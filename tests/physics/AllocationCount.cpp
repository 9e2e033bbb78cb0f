#include "AllocationCount.h"

#include <atomic>
#include <cstdlib>
#include <new>

// Replaces the program's global operator new and delete, so that a test can tell whether a call
// allocated. Kept in a file of its own so that callers never see new and delete inlined.

namespace {

std::atomic<int> allocations{0};
std::atomic<std::size_t> bytes{0};

} // namespace

int allocationCount()
{
    return allocations.load(std::memory_order_relaxed);
}

std::size_t allocatedBytes()
{
    return bytes.load(std::memory_order_relaxed);
}

void* operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    bytes.fetch_add(size, std::memory_order_relaxed);
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}
