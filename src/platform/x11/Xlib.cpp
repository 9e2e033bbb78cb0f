#include "platform/x11/Xlib.h"

#include <cstdlib>

#include <X11/Xlib.h>

#include "platform/Win32.h"

namespace vardel::platform::x11 {

namespace {

thread_local int lastErrorCode = 0;

// Errors such as BadDrawable for a window the server has already destroyed are expected during
// tear-down; the default handler would end the process.
int recordError(Display*, XErrorEvent* error)
{
    lastErrorCode = error->error_code;
    return 0;
}

} // namespace

void Xlib::initialise()
{
    static const bool done = [] {
        XInitThreads();
        XSetErrorHandler(recordError);
        return true;
    }();
    (void)done;
}

_XDisplay* Xlib::open()
{
    initialise();
    if (!std::getenv("DISPLAY")) {
        return nullptr;
    }
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (Display* display = XOpenDisplay(nullptr)) {
            return display;
        }
        Sleep(25);
    }
    return nullptr;
}

int Xlib::lastError()
{
    return lastErrorCode;
}

void Xlib::clearError()
{
    lastErrorCode = 0;
}

} // namespace vardel::platform::x11
