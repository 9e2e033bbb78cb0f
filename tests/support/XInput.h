#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace vardel::test {

// A connection of the test's own that makes pointer and key input with XTest, as a user would.
// Each call waits until the server has taken the input.
class XInput {
public:
    XInput() : display(XOpenDisplay(nullptr)) {}
    ~XInput()
    {
        if (display) {
            XCloseDisplay(display);
        }
    }
    XInput(const XInput&) = delete;
    XInput& operator=(const XInput&) = delete;

    void movePointer(int x, int y)
    {
        XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
        XSync(display, False);
    }

    void button(unsigned int number, bool press)
    {
        XTestFakeButtonEvent(display, number, press, CurrentTime);
        XSync(display, False);
    }

    void key(KeySym symbol, bool press)
    {
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, symbol), press, CurrentTime);
        XSync(display, False);
    }

    // Null when the display cannot be reached.
    Display* display;
};

} // namespace vardel::test
