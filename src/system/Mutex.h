#pragma once

#include "platform/Win32.h"
#include "object/Object.h"
#include "types/String.h"

namespace vardel::system {

// A recursive lock: the holder may lock again and must unlock as often.
class Mutex : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Mutex)

    Mutex();
    ~Mutex() override;
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    // Locking
    // Waits until no other thread holds the lock, then takes it; true.
    bool lock();
    // Gives back one hold of the calling thread; true.
    bool unlock();

    // The lock of the system.
    CRITICAL_SECTION section;
};

} // namespace vardel::system
