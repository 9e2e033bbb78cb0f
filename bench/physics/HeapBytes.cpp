#include "HeapBytes.h"

#include <atomic>
#include <cstdlib>
#include <new>

// Replaces the program's global operator new and delete, so that the benchmark can read a cloth's
// heap use around its build. Kept in a file of its own so that callers never see new and delete
// inlined.

namespace {

std::atomic<std::size_t> bytes{0};

} // namespace

std::size_t heapBytes()
{
    return bytes.load(std::memory_order_relaxed);
}

void* operator new(std::size_t size)
{
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
