#include "graphics/Image.h"
#include "graphics/Palette.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

using vardel::graphics::Image;
using vardel::graphics::Palette;

TEST(Image, formatTableGivesBytesPerRow)
{
    const std::vector<std::pair<std::vector<std::uint32_t>, int>> table = {
        {{0x00080006, 0x0008000D}, 1},
        {{0x00100002, 0x00100003, 0x0010000E, 0x0010000F, 0x00100011, 0x10100017}, 2},
        {{0x00180004, 0x00180007}, 3},
        {{0x00200001, 0x00200008, 0x00200010, 0x00200012, 0x10200018}, 4},
        {{0x00240005}, 5},
        {{0x10300014, 0x10300016}, 6},
        {{0x0040000A, 0x0040000C, 0x10400013, 0x10400015}, 8},
        {{0x3060001A, 0x3060001C}, 12},
        {{0x30800019, 0x3080001B}, 16},
    };
    for (const auto& [codes, bytes] : table) {
        for (std::uint32_t code : codes) {
            EXPECT_EQ(Image(code, 3, 2).bytesPerRow(), 3 * bytes) << std::hex << code;
        }
    }
    // Known format numbers with other bit counts, and numbers outside the table, are unknown.
    for (std::uint32_t code : {0u, 0x0000000Du, 0x0010000Du, 0x00080001u, 0x0020001Du, 0xFFFFFFFFu}) {
        EXPECT_EQ(Image(code, 3, 2).bytesPerRow(), 0) << std::hex << code;
    }
    // A row too long for the 32-bit field gets no memory rather than a wrapped size.
    EXPECT_EQ(Image(0x3080001B, 0x7FFFFFFF, 1).bytesPerRow(), 0);
}

TEST(Image, pixelsStayPutAcrossLocks)
{
    Image atlas(0x0008000D, 256, 128);
    EXPECT_EQ(atlas.bytesPerRow(), 256);
    EXPECT_FALSE(atlas.isLocked());
    unsigned char* first = atlas.lock();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(atlas.isLocked());
    // The whole block is writable: a sanitizer build catches a short allocation here.
    std::memset(first, 0x5A, 256 * 128);
    atlas.unlock();
    EXPECT_FALSE(atlas.isLocked());
    EXPECT_EQ(atlas.pixels(), first);
    unsigned char* again = atlas.lock();
    EXPECT_EQ(again, first);
    EXPECT_EQ(again[256 * 128 - 1], 0x5A);

    Image negative(0x0008000D, 16, -4);
    EXPECT_EQ(negative.lock(), nullptr);
    EXPECT_FALSE(negative.isLocked());
}

TEST(Image, paletteIsCopiedNotShared)
{
    Image image(0x00080006, 8, 8);
    Palette<unsigned char> out;
    out.entries[0][0] = 99;
    EXPECT_FALSE(image.getPalette(out));
    EXPECT_EQ(out.entries[0][0], 99);

    Palette<unsigned char> source;
    EXPECT_EQ(source.entries[255][3], 0);
    for (int i = 0; i < 256; ++i) {
        for (int c = 0; c < 4; ++c) {
            source.entries[i][c] = static_cast<unsigned char>(i + c);
        }
    }
    source.retain();
    EXPECT_TRUE(image.setPalette(source));
    source.entries[10][1] = 0;
    ASSERT_TRUE(image.getPalette(out));
    EXPECT_EQ(out.entries[10][1], 11);
    EXPECT_EQ(out.entries[255][3], static_cast<unsigned char>(258));
    EXPECT_EQ(out.refCount, 1);
    EXPECT_EQ(source.refCount, 2);

    // A second palette replaces the entries of the image's own one.
    EXPECT_TRUE(image.setPalette(source));
    ASSERT_TRUE(image.getPalette(out));
    EXPECT_EQ(out.entries[10][1], 0);
    source.release();
}
