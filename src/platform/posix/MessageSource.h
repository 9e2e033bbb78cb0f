#pragma once

#include "platform/posix/Types.h"

namespace vardel::platform::posix {

class MessageQueue;

// Something besides posted messages that feeds a thread's queue, such as the thread's X
// connection. The owner thread's GetMessageA sleeps in poll() on the queue's wake-up descriptor
// and on descriptor() of every source, and before each look at the queue calls pump() so that
// input already read off a descriptor (into a library's own buffer) is never slept on; when no
// message matches, idle() may make one, which is how WM_PAINT comes only when nothing else is
// pending.
class MessageSource {
public:
    virtual ~MessageSource() = default;

    // The descriptor to wait on for input, or -1 for none.
    virtual int descriptor() = 0;
    // Handles or translates everything pending, on the owner thread: sent messages go straight to
    // their window procedures, queued ones into queue.post(). It must consume what made
    // descriptor() readable, or the wait will not sleep.
    virtual void pump(MessageQueue& queue) = 0;
    // Called when no queued message matches the filter: fills message and returns true if the
    // source has one to give (WM_PAINT for an invalid window). With remove false the same message
    // must be given again next time.
    virtual bool idle(MSG& message, HWND window, UINT first, UINT last, bool remove) = 0;
};

} // namespace vardel::platform::posix
