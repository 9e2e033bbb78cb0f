#pragma once

#include <X11/Xlib.h>

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
