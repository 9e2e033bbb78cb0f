#pragma once

namespace vardel::math {

// A point or a size in a window's pixel space: x to the right, y downwards.
struct Point {
    // Pixels to the right, or a width.
    float x;
    // Pixels downwards, or a height.
    float y;

    Point() = default;
    // The point (x, y).
    constexpr Point(float x, float y) : x(x), y(y) {}
};

} // namespace vardel::math
