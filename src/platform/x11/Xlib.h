#pragma once

#include "platform/posix/Types.h"

struct _XDisplay;

namespace vardel::platform::x11 {

// Process-wide set-up of Xlib: thread support before any other call and an error handler that
// records errors instead of ending the process.
class Xlib {
public:
    // A new connection to the display named by DISPLAY, or null with the calling thread's last
    // error saying why: ERROR_NOT_READY when no display answers, ERROR_ACCESS_DENIED when the
    // server refused the connection, ERROR_TOO_MANY_OPEN_FILES or ERROR_NOT_ENOUGH_MEMORY when
    // this process ran out of either. Only a server that is not listening (yet, or again right
    // after other connections closed) is tried again, briefly.
    static _XDisplay* open();
    // The code of the last X error reported on the calling thread since clearError(), or 0.
    // Each connection is used by one thread at a time, so this is the error of its connection.
    static int lastError();
    // Forgets the calling thread's last X error and errno, before a call whose failure shortage()
    // is to explain.
    static void clearError();
    // ERROR_NOT_ENOUGH_MEMORY or ERROR_TOO_MANY_OPEN_FILES when the X error or errno left since
    // clearError() says that the server or this process ran out of memory or descriptors, else 0.
    // GL calls report no reason of their own.
    static DWORD shortage();

private:
    static void initialise();
    // Whether a server accepts connections where the display name points (its local socket, or
    // its port on another host).
    static bool listening(const char* name);
};

} // namespace vardel::platform::x11
