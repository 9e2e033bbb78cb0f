#pragma once

namespace vardel::math {

// Red, green, blue and alpha of material and light colours.
struct Colour4 {
    // Red, from 0 to 1.
    float red;
    // Green, from 0 to 1.
    float green;
    // Blue, from 0 to 1.
    float blue;
    // Alpha (opacity), from 0 to 1.
    float alpha;

    // Sets the four channels.
    void set(float r, float g, float b, float a)
    {
        red = r;
        green = g;
        blue = b;
        alpha = a;
    }
    // Sets every channel to 0.
    void setZero() { set(0.0f, 0.0f, 0.0f, 0.0f); }
};

} // namespace vardel::math
