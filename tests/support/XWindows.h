#pragma once

#include "support/Picture.h"

// GoogleTest before Xlib: Xlib's macros (None) collide with GoogleTest's names.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

// The mapped top-level windows with the title given, bottom of the stack first.
inline std::vector<::Window> mappedWindowsTitled(Display* display, const std::string& title)
{
    ::Window root = 0;
    ::Window parent = 0;
    ::Window* children = nullptr;
    unsigned count = 0;
    std::vector<::Window> found;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
        return found;
    }
    for (unsigned i = 0; i < count; ++i) {
        char* name = nullptr;
        XWindowAttributes attributes;
        if (XFetchName(display, children[i], &name) && name && title == name &&
            XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable) {
            found.push_back(children[i]);
        }
        XFree(name);
    }
    XFree(children);
    return found;
}

// At least count mapped top-level windows titled title, looked for every 20 ms, or fewer once
// the time given is up (looked for once when it is 0).
inline std::vector<::Window> waitForWindowsTitled(Display* display, const std::string& title, std::size_t count,
                                                  std::chrono::milliseconds limit)
{
    auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        std::vector<::Window> found = mappedWindowsTitled(display, title);
        if (found.size() >= count || std::chrono::steady_clock::now() >= end) {
            return found;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// A test that looks at the display through a connection of its own. Windows of other programs,
// and of the program under test, may go while they are looked at: their errors are not the test's.
class DisplayTest : public testing::Test {
protected:
    void SetUp() override
    {
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    }
    void TearDown() override { XCloseDisplay(display); }

    Display* display = nullptr;
};

// The test programs share one display and run side by side, so another program's window may lie
// over the one a test reads back. From this call on, the server keeps what is drawn into the window
// and its children in a store of its own, and reading the window gives those pixels whatever covers
// it; what was drawn before is kept as it was visible, so read after the next paint.
inline void keepContents(Display* display, ::Window window)
{
    XSetWindowAttributes attributes{};
    attributes.backing_store = Always;
    XChangeWindowAttributes(display, window, CWBackingStore, &attributes);
    XSync(display, False);
}

// The pixels of a drawable of the size given; empty when it cannot be read.
inline Picture drawablePicture(Display* display, Drawable drawable, int width, int height)
{
    Picture picture;
    XImage* image = XGetImage(display, drawable, 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image) {
        return picture;
    }
    picture.width = width;
    picture.height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.pixels.push_back(XGetPixel(image, x, y));
        }
    }
    XDestroyImage(image);
    return picture;
}

// The pixels of the window and its children; empty when the window is gone.
inline Picture windowPicture(Display* display, ::Window window)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) {
        return Picture();
    }
    return drawablePicture(display, window, attributes.width, attributes.height);
}
