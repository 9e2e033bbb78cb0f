#pragma once

#include <type_traits>

namespace vardel::graphics3d {

// Stores a counted pointer in a slot that holds a reference: takes one on the new object first (it
// may be the one already there), then gives back the old one.
template <typename T>
void replaceCounted(T*& slot, std::type_identity_t<T>* object)
{
    if (object)
        object->retain();
    if (slot)
        slot->release();
    slot = object;
}

} // namespace vardel::graphics3d
