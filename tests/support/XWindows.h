#pragma once

#include "support/Picture.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>
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
