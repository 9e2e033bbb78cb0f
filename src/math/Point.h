#pragma once

namespace vardel::math {

struct Point {
    float x, y;

    Point() = default;
    constexpr Point(float x, float y) : x(x), y(y) {}
};

} // namespace vardel::math
