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

    // One value of the list with its links.
    struct Item {
        // The element.
        T value;
        // The item after this one; the end item after the last.
        Item* next;
        // The item before this one, or null for the first.
        Item* previous;
    };

    // Walks the values from first to the end item.
    template <typename Value, typename Link>
    class Iterator {
    public:
        // An iterator standing at item.
        explicit Iterator(Link item) : item(item) {}
        // The value at the iterator.
        Value& operator*() const { return item->value; }
        // The value at the iterator.
        Value* operator->() const { return &item->value; }
        // Moves to the next value, or to the end item.
        Iterator& operator++()
        {
            item = item->next;
            return *this;
        }
        // Whether both stand at the same item.
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

    // The last item, or null while the list is empty.
    Item* last() const { return endItem.previous; }
    // An iterator at the first value.
    Iterator<T, Item*> begin() { return Iterator<T, Item*>(first); }
    // An iterator at the end item.
    Iterator<T, Item*> end() { return Iterator<T, Item*>(&endItem); }
    // An iterator at the first value.
    Iterator<const T, const Item*> begin() const { return Iterator<const T, const Item*>(first); }
    // An iterator at the end item.
    Iterator<const T, const Item*> end() const { return Iterator<const T, const Item*>(&endItem); }

    // Where the items come from and go back to.
    Allocator<Item> pool;
    // The first item; the end item while the list is empty.
    Item* first;
    // Its previous is the last item (null while empty); its value is never an element.
    Item endItem;
    // How many values the list holds.
    std::int32_t count;
};

} // namespace vardel::container
