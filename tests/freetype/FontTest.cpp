#include "freetype/Descriptor.h"
#include "freetype/Font.h"
#include "freetype/FreetypeException.h"
#include "io/SystemFile.h"
#include "support/FontFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

using namespace vardel::freetype;
using vardel::io::File;

namespace {

// Character-map encoding ids of the installed fonts.
constexpr int macRoman = 0;
constexpr int windowsUnicode = 1;

// A copy of an installed font loaded at size x size pixels; the caller owns the result.
Font* load(const char* installed, float size, int encoding = windowsUnicode)
{
    TempFolder folder;
    File* file = File::open(copyFont(folder, installed, "face.ttf").c_str(), File::readAccess);
    Descriptor wanted;
    wanted.width = wanted.height = size;
    wanted.encoding = encoding;
    wanted.flags = 7;
    Font* font = Font::loadFont(wanted, *file);
    file->release();
    return font;
}

std::pair<int, int> cellOf(const GlyphInfo& glyph)
{
    return {glyph.x, glyph.y};
}

} // namespace

TEST(Font, eachDistinctGlyphGetsACellOfTheLargestGlyphsSize)
{
    Font* font = load("DejaVuSans.ttf", 24);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->getName(), "DejaVu Sans Book");
    EXPECT_EQ(font->descriptor.flags, 7);
    EXPECT_EQ(font->atlas.format(), 0x8000Du);

    std::set<std::pair<int, int>> cells;
    int widest = 0;
    int tallest = 0;
    int cellHeight = font->atlas.height();
    for (const GlyphInfo& glyph : font->glyphs) {
        cells.insert(cellOf(glyph));
        widest = std::max(widest, glyph.width);
        tallest = std::max(tallest, glyph.rows);
        cellHeight = glyph.y > 0 ? std::min(cellHeight, glyph.y) : cellHeight;
    }
    // The largest bitmap with one pixel to spare, 16 cells to a row.
    int cellWidth = widest + 1;
    EXPECT_EQ(font->atlas.width(), 16 * cellWidth);
    EXPECT_EQ(cellHeight, tallest + 1);
    // Cells are numbered without gaps and the atlas ends with the last row in use.
    int last = 0;
    for (auto [x, y] : cells) {
        last = std::max(last, y / cellHeight * 16 + x / cellWidth);
    }
    EXPECT_EQ(last + 1, static_cast<int>(cells.size()));
    EXPECT_EQ(font->atlas.height(), cellHeight * ((last + 16) / 16));

    // Ink only inside the glyphs' bitmaps.
    const unsigned char* pixels = font->atlas.lock();
    int stray = 0;
    for (int y = 0; y < font->atlas.height(); ++y) {
        for (int x = 0; x < font->atlas.width(); ++x) {
            stray += pixels[y * font->atlas.bytesPerRow() + x] && std::none_of(std::begin(font->glyphs), std::end(font->glyphs), [&](const GlyphInfo& glyph) {
                return x >= glyph.x && x < glyph.x + glyph.width && y >= glyph.y && y < glyph.y + glyph.rows;
            });
        }
    }
    const GlyphInfo& a = font->glyphs['A'];
    EXPECT_GT(pixels[(a.y + a.rows - 1) * font->atlas.bytesPerRow() + a.x], 100) << "the foot of the A";
    font->atlas.unlock();
    EXPECT_EQ(stray, 0);
    font->release();
}

TEST(Font, recordsPlaceTheGlyphsOfAllByteCodes)
{
    Font* font = load("DejaVuSans.ttf", 24);
    ASSERT_NE(font, nullptr);
    const GlyphInfo& a = font->glyphs['A'];
    EXPECT_GE(a.width, 12);
    EXPECT_LE(a.width, 20);
    // A capital sits on the baseline: it rises as far as it is tall.
    EXPECT_GE(a.rows, 14);
    EXPECT_LE(a.rows, 20);
    EXPECT_EQ(a.bearing.y, static_cast<float>(a.rows));
    EXPECT_GE(a.bearing.x, 0.0f);
    EXPECT_LE(a.bearing.x, 2.0f);
    EXPECT_GE(a.advance.x, a.width - 1.0f);
    EXPECT_EQ(a.advance.x, std::floor(a.advance.x)) << "hinted advances are whole pixels";
    EXPECT_GT(a.advance.y, 20.0f);
    EXPECT_EQ(font->glyphs[' '].width, 0);
    EXPECT_GT(font->glyphs[' '].advance.x, 4.0f);

    // 0xE9 is e with an acute accent: its own cell, as wide as e and taller.
    const GlyphInfo& eAcute = font->glyphs[0xE9];
    EXPECT_NE(cellOf(eAcute), cellOf(font->glyphs[0x01]));
    EXPECT_NE(cellOf(eAcute), cellOf(font->glyphs['e']));
    EXPECT_EQ(eAcute.advance.x, font->glyphs['e'].advance.x);
    EXPECT_GT(eAcute.rows, font->glyphs['e'].rows);
    // Characters without a glyph of their own share the missing glyph's cell.
    EXPECT_EQ(cellOf(font->glyphs[0x02]), cellOf(font->glyphs[0x01]));
    font->release();
}

TEST(Font, encodingOfNoCharacterMapIsReportedAsZero)
{
    for (auto [asked, used] : {std::pair{windowsUnicode, windowsUnicode}, {macRoman, macRoman}, {77, 0}}) {
        Font* font = load("DejaVuSansMono.ttf", 12, asked);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->descriptor.encoding, used) << asked;
        // Mac Roman puts e acute at 0x8E; Unicode leaves that code to the missing glyph.
        EXPECT_EQ(cellOf(font->glyphs[0x8E]) != cellOf(font->glyphs[0x01]), asked == macRoman) << asked;
        font->release();
    }
}

TEST(Font, unusableInputGivesNoFontAndHoldsNothing)
{
    TempFolder folder;
    std::string path = folder.write("text.ttf", std::string(4096, 'x'));
    File* file = File::open(path.c_str(), File::readAccess);
    try {
        Font::loadFont(Descriptor(), *file);
        ADD_FAILURE() << "no exception";
    } catch (const FreetypeException& exception) {
        EXPECT_EQ(exception.message, "FreetypeException");
    }
    file->release();
    // Files are opened exclusively: this fails while anything still holds the file.
    File::open(path.c_str(), File::readAccess)->release();

    // A size no atlas can hold gives no font; a size that is no number the smallest there is.
    EXPECT_EQ(load("DejaVuSansMono.ttf", 3000), nullptr);
    Font* font = load("DejaVuSansMono.ttf", std::nanf(""));
    ASSERT_NE(font, nullptr);
    EXPECT_LE(font->atlas.width(), 16 * 3);
    font->release();
}
