#pragma once

namespace vardel::container {

template <typename T>
class Chain;

// The link a member of a Chain<T> carries; T derives from it. Each Chainable<T> is a base of its
// own type, so a class can be a member of two kinds of chain by deriving from two of them (a view
// is a Chainable<Handler> through Handler and a Chainable<View> of its own), and converting between
// a link and its member is a fixed offset.
template <typename T>
class Chainable {
public:
    Chainable() : chain(nullptr), next(nullptr), previous(nullptr) {}
    // A copy is a new member and belongs to no chain.
    Chainable(const Chainable&) : Chainable() {}
    // Assigning keeps the link as it is: membership is not copied.
    Chainable& operator=(const Chainable&) { return *this; }

    // A member being destroyed leaves its chain without being released: its neighbours are linked
    // to each other and the chain's count drops by one.
    ~Chainable()
    {
        if (chain)
            chain->unlink(this);
    }

    // The object this link belongs to.
    T* member() { return static_cast<T*>(this); }

    // The chain the member is in, or null.
    Chain<T>* chain;
    // The next link of the chain; the chain's end link after the last member.
    Chainable* next;
    // The previous link of the chain; the chain's end link before the first member.
    Chainable* previous;
};

} // namespace vardel::container

// The destructor above needs the whole Chain; including it last lets either header come first.
#include "container/Chain.h"
