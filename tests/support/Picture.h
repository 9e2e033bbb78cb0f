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

    // The picture with the demo's live caption (its top-left corner) blacked out: the figures
    // change with every frame, also while the cloth stands still.
    Picture withoutCaption() const
    {
        Picture copy = *this;
        for (int y = 0; y < std::min(captionHeight, height); ++y) {
            for (int x = 0; x < std::min(captionWidth, width); ++x) {
                copy.pixels[static_cast<size_t>(y) * width + x] = 0;
            }
        }
        return copy;
    }

    static constexpr int captionWidth = 300;
    static constexpr int captionHeight = 80;

    // How many pixels of the area are near white, as text is and the red cloth never is.
    int whiteIn(int left, int top, int right, int bottom) const
    {
        int count = 0;
        for (int y = std::max(top, 0); y < std::min(bottom, height); ++y) {
            for (int x = std::max(left, 0); x < std::min(right, width); ++x) {
                unsigned long pixel = pixels[static_cast<size_t>(y) * width + x];
                count += ((pixel >> 16) & 0xFF) > 200 && ((pixel >> 8) & 0xFF) > 200 && (pixel & 0xFF) > 200;
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
