#include "freetype/GlyphBitmap.h"

#include <gtest/gtest.h>

#include <vector>

using vardel::freetype::GlyphBitmap;

namespace {

// The pixels a bitmap writes into a room of roomWidth x roomRows inside a wider target that starts
// filled with 7, so that writes outside the room show.
std::vector<int> copied(const GlyphBitmap& bitmap, int roomWidth, int roomRows)
{
    const int stride = 12;
    std::vector<unsigned char> target(stride * 3, 7);
    bitmap.copyTo(target.data(), stride, roomWidth, roomRows);
    std::vector<int> values;
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < roomWidth + 1; ++x) {
            values.push_back(target[y * stride + x]);
        }
    }
    return values;
}

} // namespace

TEST(GlyphBitmap, packedModesBecomeOneBytePerPixelLeftmostFirst)
{
    const unsigned char mono[] = {0xA0, 0x01};
    EXPECT_EQ(copied({mono, 2, 8, 1, GlyphBitmap::mono, 0}, 8, 1),
              (std::vector<int>{255, 0, 255, 0, 0, 0, 0, 0, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7}));
    const unsigned char twoBits[] = {0xE4};
    EXPECT_EQ(copied({twoBits, 1, 4, 1, GlyphBitmap::gray2, 0}, 4, 1),
              (std::vector<int>{255, 170, 85, 0, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7}));
    const unsigned char fourBits[] = {0xF3, 0x80};
    EXPECT_EQ(copied({fourBits, 2, 3, 1, GlyphBitmap::gray4, 0}, 3, 1),
              (std::vector<int>{255, 51, 136, 7, 7, 7, 7, 7, 7, 7, 7, 7}));
}

TEST(GlyphBitmap, greyLevelsAreScaledToFullRange)
{
    const unsigned char levels[] = {0, 1, 8, 15};
    EXPECT_EQ(copied({levels, 4, 4, 1, GlyphBitmap::gray, 16}, 4, 1),
              (std::vector<int>{0, 17, 136, 255, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7}));
    const unsigned char bytes[] = {0, 128, 255};
    EXPECT_EQ(copied({bytes, 3, 3, 1, GlyphBitmap::gray, 256}, 3, 1),
              (std::vector<int>{0, 128, 255, 7, 7, 7, 7, 7, 7, 7, 7, 7}));
    // A bitmap that claims a single level neither divides by zero nor wraps around.
    EXPECT_EQ(copied({bytes, 3, 3, 1, GlyphBitmap::gray, 1}, 3, 1),
              (std::vector<int>{0, 255, 255, 7, 7, 7, 7, 7, 7, 7, 7, 7}));
}

TEST(GlyphBitmap, rowsFollowThePitchAndStayInsideTheRoom)
{
    // Two rows of three, padded to four bytes; stored bottom-up the second row in memory is the top.
    const unsigned char rows[] = {1, 2, 3, 99, 4, 5, 6, 99};
    EXPECT_EQ(copied({rows, 4, 3, 2, GlyphBitmap::gray, 256}, 3, 2),
              (std::vector<int>{1, 2, 3, 7, 4, 5, 6, 7, 7, 7, 7, 7}));
    EXPECT_EQ(copied({rows, -4, 3, 2, GlyphBitmap::gray, 256}, 3, 2),
              (std::vector<int>{4, 5, 6, 7, 1, 2, 3, 7, 7, 7, 7, 7}));
    // A bitmap larger than its room is cut to it.
    EXPECT_EQ(copied({rows, 4, 3, 2, GlyphBitmap::gray, 256}, 2, 1), (std::vector<int>{1, 2, 7, 7, 7, 7, 7, 7, 7}));
    // Modes without a conversion write nothing.
    EXPECT_EQ(copied({rows, 4, 3, 2, 5, 256}, 2, 1), (std::vector<int>(9, 7)));
    EXPECT_EQ(copied({rows, 4, 3, 2, 0, 256}, 2, 1), (std::vector<int>(9, 7)));
}
