#pragma once

struct _XDisplay;

namespace vardel::platform::x11 {

// Process-wide set-up of Xlib: thread support before any other call and an error handler that
// records errors instead of ending the process.
class Xlib {
public:
    // A new connection to the display named by DISPLAY, retried briefly (a server may refuse a
    // connection right after others closed), or null.
    static _XDisplay* open();
    // The code of the last X error reported on the calling thread since clearError(), or 0.
    // Each connection is used by one thread at a time, so this is the error of its connection.
    static int lastError();
    static void clearError();

private:
    static void initialise();
};

} // namespace vardel::platform::x11
