#include "platform/x11/InvalidRegion.h"

#include <algorithm>

namespace vardel::platform::x11 {

namespace {

// Beyond this many rectangles the region becomes its bounding rectangle.
constexpr std::size_t mostRectangles = 16;

bool empty(const RECT& rect)
{
    return rect.left >= rect.right || rect.top >= rect.bottom;
}

RECT intersection(const RECT& a, const RECT& b)
{
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

RECT hull(const RECT& a, const RECT& b)
{
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

} // namespace

void InvalidRegion::addAll()
{
    all = true;
    rects.clear();
}

void InvalidRegion::add(const RECT& rect)
{
    if (all || empty(rect)) {
        return;
    }
    rects.push_back(rect);
    collapse();
}

void InvalidRegion::subtract(const RECT& cut, int width, int height)
{
    if (empty(cut)) {
        return;
    }
    if (all) {
        all = false;
        rects.assign(1, RECT{0, 0, width, height});
    }
    std::vector<RECT> left;
    for (const RECT& rect : rects) {
        RECT overlap = intersection(rect, cut);
        if (empty(overlap)) {
            left.push_back(rect);
            continue;
        }
        // What lies above and below the cut spans the whole width; beside it, only its height.
        for (const RECT& piece : {RECT{rect.left, rect.top, rect.right, overlap.top},
                                  RECT{rect.left, overlap.bottom, rect.right, rect.bottom},
                                  RECT{rect.left, overlap.top, overlap.left, overlap.bottom},
                                  RECT{overlap.right, overlap.top, rect.right, overlap.bottom}}) {
            if (!empty(piece)) {
                left.push_back(piece);
            }
        }
    }
    rects = std::move(left);
    collapse();
}

void InvalidRegion::clear()
{
    all = false;
    rects.clear();
}

RECT InvalidRegion::bounds(int width, int height) const
{
    RECT area{0, 0, width, height};
    if (all) {
        return empty(area) ? RECT{0, 0, 0, 0} : area;
    }
    RECT found{0, 0, 0, 0};
    for (const RECT& rect : rects) {
        RECT inside = intersection(rect, area);
        if (!empty(inside)) {
            found = empty(found) ? inside : hull(found, inside);
        }
    }
    return found;
}

void InvalidRegion::collapse()
{
    if (rects.size() > mostRectangles) {
        RECT bounding = rects.front();
        for (const RECT& rect : rects) {
            bounding = hull(bounding, rect);
        }
        rects.assign(1, bounding);
    }
}

} // namespace vardel::platform::x11
