#pragma once

#include <vector>

#include "platform/x11/Desktop.h"

namespace vardel::platform::x11 {

// The part of a window's client area that needs painting: the union of a few rectangles, which may
// overlap. Past a handful of them it is kept as their bounding rectangle, which can only paint
// more, never less. Positions are client coordinates; clipping to the client area happens when
// the region is read, at the size the window has then.
class InvalidRegion {
public:
    // The whole client area, whatever its size when painted.
    void addAll();
    void add(const RECT& rect);
    // Takes rect away; the client size gives "all" its extent.
    void subtract(const RECT& rect, int width, int height);
    void clear();

    // The bounding rectangle of what is left inside a client area of this size; empty (all zero)
    // when nothing is.
    RECT bounds(int width, int height) const;

private:
    void collapse();

    bool all = false;
    std::vector<RECT> rects;
};

} // namespace vardel::platform::x11
