#pragma once

#include "math/Point.h"

namespace vardel::math {

// An axis-aligned rectangle: its top-left corner and its size.
struct Rectangle {
    // The left edge.
    float x;
    // The top edge.
    float y;
    // The extent to the right of x.
    float width;
    // The extent below y.
    float height;

    Rectangle() = default;
    // The rectangle at (x, y) of the given size.
    constexpr Rectangle(float x, float y, float width, float height) : x(x), y(y), width(width), height(height) {}

    // The top-left corner.
    Point origin() const { return {x, y}; }
    // The width and height as a point.
    Point size() const { return {width, height}; }

    // The rectangle moved so that p becomes the origin.
    static Rectangle offset(const Rectangle& r, const Point& p) { return {r.x - p.x, r.y - p.y, r.width, r.height}; }
};

} // namespace vardel::math
