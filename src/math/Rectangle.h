#pragma once

#include "math/Point.h"

namespace vardel::math {

struct Rectangle {
    float x, y, width, height;

    Rectangle() = default;
    constexpr Rectangle(float x, float y, float width, float height) : x(x), y(y), width(width), height(height) {}

    Point origin() const { return {x, y}; }
    Point size() const { return {width, height}; }

    // The rectangle moved so that p becomes the origin.
    static Rectangle offset(const Rectangle& r, const Point& p) { return {r.x - p.x, r.y - p.y, r.width, r.height}; }
};

} // namespace vardel::math
