#pragma once

#include "container/Allocator.h"
#include "object/Object.h"
#include "types/String.h"

#include <cstdint>
#include <memory>
#include <new>

namespace vardel::container {

// A doubly linked list whose items come from its own pool. An item embedded in the list marks
// the end, so walking from first along next always stops at a known address.
template <typename T>
class List : public object::Object {
    VARDEL_CLASS_PATH(object::Object, List)

    struct Item {
        T value;
        Item* next;
        Item* previous;
    };

    // Walks the values from first to the end item.
    template <typename Value, typename Link>
    class Iterator {
    public:
        explicit Iterator(Link item) : item(item) {}
        Value& operator*() const { return item->value; }
        Value* operator->() const { return &item->value; }
        Iterator& operator++()
        {
            item = item->next;
            return *this;
        }
        bool operator==(const Iterator& other) const { return item == other.item; }

    private:
        Link item;
    };

    List() : first(&endItem), endItem{T(), nullptr, nullptr}, count(0) {}
    ~List() override { clear(); }

    List(const List&) = delete;
    List& operator=(const List&) = delete;

    // Items
    // Links a default-constructed value after the last item; the caller fills it in.
    Item* append()
    {
        Item* item = new (pool.allocate()) Item;
        item->next = &endItem;
        item->previous = endItem.previous;
        if (first == &endItem)
            first = item;
        else
            endItem.previous->next = item;
        endItem.previous = item;
        ++count;
        return item;
    }

    // Unlinks an item of this list and gives it back to the pool; returns the item that followed it.
    Item* remove(Item* item)
    {
        Item* next = item->next;
        if (item == first)
            first = next;
        else
            item->previous->next = next;
        next->previous = item->previous;
        std::destroy_at(item);
        pool.free(item);
        --count;
        return next;
    }

    // Returns every item to the pool.
    void clear()
    {
        while (first != &endItem) {
            Item* next = first->next;
            std::destroy_at(first);
            pool.free(first);
            first = next;
            --count;
        }
        endItem.next = endItem.previous = nullptr;
    }

    Item* last() const { return endItem.previous; }
    Iterator<T, Item*> begin() { return Iterator<T, Item*>(first); }
    Iterator<T, Item*> end() { return Iterator<T, Item*>(&endItem); }
    Iterator<const T, const Item*> begin() const { return Iterator<const T, const Item*>(first); }
    Iterator<const T, const Item*> end() const { return Iterator<const T, const Item*>(&endItem); }

    Allocator<Item> pool;
    Item* first;
    // Its previous is the last item (null while empty); its value is never an element.
    Item endItem;
    std::int32_t count;
};

} // namespace vardel::container
