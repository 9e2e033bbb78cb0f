#pragma once

#include <atomic>

#include "platform/Win32.h"
#include "object/Object.h"
#include "types/String.h"

namespace vardel::system {

// A manual-reset event paired with a flag that tells whether it is set. A wait consumes a set
// signal; a wait ended by a pulse returns without resetting anything.
class Signal : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Signal)

    Signal();
    ~Signal() override;
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;

    // Signalling
    // Sets the signal and wakes every waiting thread; it stays set until a wait consumes it.
    void set();
    // Wakes the threads waiting at this moment and leaves the signal unset.
    void pulse();
    // Unsets the signal without waking anyone.
    void reset();

    // Waiting
    // Returns at once when the signal is set, else waits until it is set or pulsed; a set signal is consumed.
    void wait();
    // Whether the signal is set now.
    bool isSet() const;

    // Written by one thread and read by others; the event is what wakes them.
    std::atomic<bool> state;
    // The manual-reset event the waiting threads sleep on.
    HANDLE event;
};

} // namespace vardel::system
