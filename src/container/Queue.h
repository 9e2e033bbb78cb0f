#pragma once

#include "object/Object.h"
#include "types/String.h"

#include <cstdint>

namespace vardel::container {

// A FIFO whose links live in the queued elements. T carries, as its first fields, `queue`, `next`
// (towards the back) and `previous` (towards the front), and a reference count of its own with a
// release(): the queue's hold on an element is one count of it.
template <typename T>
class Queue : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Queue)

    Queue() : first(nullptr), last(nullptr), count(0) {}
    ~Queue() override { clear(); }

    Queue(const Queue&) = delete;
    Queue& operator=(const Queue&) = delete;

    // Queueing
    // Puts an element at the back, behind every queued one; the queue takes a count on it.
    void pushBack(T* element)
    {
        element->queue = this;
        element->previous = last;
        element->next = nullptr;
        if (last)
            last->next = element;
        else
            first = element;
        last = element;
        element->refCount += 1;
        ++count;
    }

    // Puts an element at the front, ahead of every queued one; the queue takes a count on it.
    void pushFront(T* element)
    {
        element->queue = this;
        element->next = first;
        element->previous = nullptr;
        if (first)
            first->previous = element;
        else
            last = element;
        first = element;
        element->refCount += 1;
        ++count;
    }

    // The front element, whose queue count passes to the caller; null when empty.
    T* popFront()
    {
        T* element = first;
        if (!element)
            return nullptr;
        first = element->next;
        if (first)
            first->previous = nullptr;
        else
            last = nullptr;
        --count;
        return element;
    }

    // Releases every element, from the front.
    void clear()
    {
        while (T* element = popFront()) {
            element->queue = nullptr;
            element->next = element->previous = nullptr;
            element->release();
        }
    }

    // The element popped next, or null.
    T* first;
    // The element pushed last at the back, or null.
    T* last;
    // How many elements the queue holds.
    std::int32_t count;
};

} // namespace vardel::container
