#pragma once

#include "object/Object.h"
#include "types/String.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

namespace vardel::container {

// A growable contiguous array. Elements are relocatable: growing moves them bytewise, without a
// copy constructor or destructor running for them.
template <typename T>
class Array : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Array)

    Array() : count(0), capacity(0), elements(nullptr) {}
    ~Array() override { clear(); }

    Array(const Array&) = delete;
    Array& operator=(const Array&) = delete;

    // Access
    // The element at i; i must be below count.
    T& operator[](std::uint32_t i) { return elements[i]; }
    // The element at i; i must be below count.
    const T& operator[](std::uint32_t i) const { return elements[i]; }
    // The first element, for range-for loops.
    T* begin() { return elements; }
    // Past the last element.
    T* end() { return elements + count; }
    // The first element, for range-for loops.
    const T* begin() const { return elements; }
    // Past the last element.
    const T* end() const { return elements + count; }

    // Size
    // Grows by at least 4 and at most 1024 places beyond the current count, or exactly to n when
    // that is more; shrinking keeps the storage.
    void resize(std::uint32_t n)
    {
        if (n == 0) {
            clear();
        } else if (!elements) {
            elements = static_cast<T*>(::operator new(sizeof(T) * n));
            construct(0, n);
            count = capacity = n;
        } else if (n > capacity) {
            std::uint32_t step = std::clamp<std::uint32_t>(count, 4, 1024);
            std::uint32_t newCapacity = std::max(capacity + step, n);
            T* newElements = static_cast<T*>(::operator new(sizeof(T) * newCapacity));
            std::memcpy(static_cast<void*>(newElements), static_cast<const void*>(elements), sizeof(T) * count);
            ::operator delete(elements);
            elements = newElements;
            construct(count, n);
            capacity = newCapacity;
            count = n;
        } else if (n > count) {
            construct(count, n);
            count = n;
        } else if (n < count) {
            std::destroy(elements + n, elements + count);
            count = n;
        }
    }

    // Destroys every element and frees the storage.
    void clear()
    {
        std::destroy(elements, elements + count);
        ::operator delete(elements);
        elements = nullptr;
        count = capacity = 0;
    }

    // The elements in use.
    std::uint32_t count;
    // The elements the storage holds room for.
    std::uint32_t capacity;
    // The storage, or null when the array holds none.
    T* elements;

private:
    // Default-initialises, so that places of plain types stay as they are.
    void construct(std::uint32_t from, std::uint32_t to)
    {
        for (std::uint32_t i = from; i < to; ++i)
            new (elements + i) T;
    }
};

} // namespace vardel::container
