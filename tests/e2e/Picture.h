#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// What a screenshot of the window shows: how much of it is lit and by how many shades.
struct Picture {
    std::vector<unsigned long> pixels;
    int width = 0;
    int height = 0;

    double litShare() const
    {
        size_t lit = 0;
        for (unsigned long pixel : pixels) {
            lit += (pixel & 0xFFFFFF) != 0;
        }
        return pixels.empty() ? 0.0 : double(lit) / pixels.size();
    }

    // Whether the lit pixels are mostly red, as the cloth's material is.
    bool litRed() const
    {
        double red = 0;
        double other = 0;
        for (unsigned long pixel : pixels) {
            red += (pixel >> 16) & 0xFF;
            other += std::max((pixel >> 8) & 0xFF, pixel & 0xFF);
        }
        return red > 1.5 * other;
    }

    // The share of pixels that differ at all.
    double differingShare(const Picture& other) const
    {
        size_t differing = 0;
        for (size_t i = 0; i < pixels.size() && i < other.pixels.size(); ++i) {
            differing += pixels[i] != other.pixels[i];
        }
        return pixels.empty() ? 0.0 : double(differing) / pixels.size();
    }

    int shades() const
    {
        std::vector<bool> seen(256);
        int count = 0;
        for (unsigned long pixel : pixels) {
            unsigned green = (pixel >> 8) & 0xFF;
            if (green && !seen[green]) {
                seen[green] = true;
                ++count;
            }
        }
        return count;
    }

    // The share of pixels lit in one picture and not in the other.
    double changedShare(const Picture& other) const
    {
        size_t changed = 0;
        for (size_t i = 0; i < pixels.size() && i < other.pixels.size(); ++i) {
            changed += ((pixels[i] & 0xFFFFFF) != 0) != ((other.pixels[i] & 0xFFFFFF) != 0);
        }
        return pixels.empty() ? 0.0 : double(changed) / pixels.size();
    }
};
