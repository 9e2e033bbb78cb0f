#include "freetype/GlyphBitmap.h"

#include <algorithm>

namespace vardel::freetype {

namespace {

// The byte value of pixel x of a row in the given mode.
int pixelValue(const unsigned char* row, int x, int pixelMode, int grays)
{
    switch (pixelMode) {
    case GlyphBitmap::mono:
        return (row[x >> 3] >> (7 - (x & 7)) & 1) ? 255 : 0;
    case GlyphBitmap::gray:
        // A bitmap that claims fewer than two levels must neither divide by zero nor wrap.
        return std::min(row[x] * 255 / std::max(grays - 1, 1), 255);
    case GlyphBitmap::gray2:
        return (row[x >> 2] >> (6 - 2 * (x & 3)) & 3) * 85;
    default:
        // Pixels are packed leftmost first, as in the other modes: the high nibble comes first.
        return (row[x >> 1] >> (x & 1 ? 0 : 4) & 15) * 17;
    }
}

} // namespace

void GlyphBitmap::copyTo(unsigned char* target, int stride, int roomWidth, int roomRows) const
{
    if (pixelMode < mono || pixelMode > gray4 || !buffer) {
        return;
    }
    int copiedWidth = std::min(width, roomWidth);
    int copiedRows = std::min(rows, roomRows);
    for (int y = 0; y < copiedRows; ++y) {
        // A bottom-up bitmap keeps its top row last in memory.
        long long line = pitch < 0 ? static_cast<long long>(rows - 1 - y) * -pitch : static_cast<long long>(y) * pitch;
        const unsigned char* row = buffer + line;
        unsigned char* out = target + static_cast<long long>(y) * stride;
        for (int x = 0; x < copiedWidth; ++x) {
            out[x] = static_cast<unsigned char>(pixelValue(row, x, pixelMode, grays));
        }
    }
}

} // namespace vardel::freetype
