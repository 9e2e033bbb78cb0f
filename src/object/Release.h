#pragma once

namespace vardel::object {

// Drops the reference a pointer holds, if any, and clears the pointer.
template <typename Counted>
void releaseAndClear(Counted*& object)
{
    if (object) {
        object->release();
        object = nullptr;
    }
}

} // namespace vardel::object
