#pragma once

#include "container/Chainable.h"
#include "object/Object.h"
#include "types/String.h"

#include <cstdint>

namespace vardel::container {

// A doubly linked ring of members that carry their own links (Chainable<T>), closed by an end link
// embedded in the chain. The chain holds each member through the member's retain() and release():
// reference-counted members are counted, and a member type that is not reference-counted defines
// those two to say what the chain's hold means (for instance, release() destroys it).
template <typename T>
class Chain : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Chain)

    // The link every member carries.
    using Link = Chainable<T>;

    // Walks the members from the first to the last.
    class Iterator {
    public:
        // An iterator standing at link.
        explicit Iterator(Link* link) : link(link) {}
        // The member at the iterator.
        T& operator*() const { return *link->member(); }
        // The member at the iterator.
        T* operator->() const { return link->member(); }
        // Moves to the next member, or to the end.
        Iterator& operator++()
        {
            link = link->next;
            return *this;
        }
        // Whether both stand at the same link.
        bool operator==(const Iterator& other) const { return link == other.link; }

    private:
        Link* link;
    };

    Chain() : count(0)
    {
        endLink.chain = this;
        endLink.next = endLink.previous = &endLink;
    }

    ~Chain() override
    {
        clear();
        endLink.chain = nullptr;
    }

    Chain(const Chain&) = delete;
    Chain& operator=(const Chain&) = delete;

    // Membership
    // Links a member that is in no chain after the last one and takes a hold on it.
    Link* append(T* member)
    {
        Link* link = member;
        link->chain = this;
        link->next = &endLink;
        link->previous = endLink.previous;
        endLink.previous->next = link;
        endLink.previous = link;
        ++count;
        member->retain();
        return link;
    }

    // Unlinks a member of this chain and drops the hold on it; a member of another chain or of none
    // is left alone.
    void remove(T* member)
    {
        Link* link = member;
        if (link->chain != this)
            return;
        unlink(link);
        member->release();
    }

    // Drops every member, from the first. Each is unlinked before it is released, so the chain stays
    // consistent whatever the release does.
    void clear()
    {
        while (endLink.next != &endLink) {
            Link* link = endLink.next;
            unlink(link);
            link->member()->release();
        }
    }

    // An iterator at the first member.
    Iterator begin() { return Iterator(endLink.next); }
    // An iterator past the last member.
    Iterator end() { return Iterator(&endLink); }

    // Where the chain starts and ends: its next is the first member's link, its previous the last's; it links to itself when the chain is empty.
    Link endLink;
    // How many members the chain holds.
    std::int32_t count;

private:
    friend Link;

    void unlink(Link* link)
    {
        link->next->previous = link->previous;
        link->previous->next = link->next;
        link->chain = nullptr;
        link->next = link->previous = nullptr;
        --count;
    }
};

} // namespace vardel::container
