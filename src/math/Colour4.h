#pragma once

namespace vardel::math {

// Red, green, blue and alpha of material and light colours.
struct Colour4 {
    float red, green, blue, alpha;

    void set(float r, float g, float b, float a)
    {
        red = r;
        green = g;
        blue = b;
        alpha = a;
    }
    void setZero() { set(0.0f, 0.0f, 0.0f, 0.0f); }
};

} // namespace vardel::math
