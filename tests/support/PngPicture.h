#pragma once

#include <string>
#include <vector>

// A PNG file read back into memory: rows top first, channels interleaved.
struct PngPicture {
    // Empty (width 0) when the file cannot be read as PNG.
    static PngPicture load(const std::string& path, int channels = 3);

    // Channel c of pixel (x, y).
    unsigned char at(int x, int y, int c) const { return pixels[(static_cast<std::size_t>(y) * width + x) * channels + c]; }

    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<unsigned char> pixels;
};
