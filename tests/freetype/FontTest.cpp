#include "freetype/Font.h"
#include "freetype/Descriptor.h"
#include "freetype/FreetypeException.h"
#include "io/SystemFile.h"
#include "FontFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

using namespace vardel::freetype;
using vardel::io::File;

namespace {

// Character-map encoding ids of the installed fonts: Mac Roman and Windows Unicode.
constexpr int macRoman = 0;
constexpr int windowsUnicode = 1;

class FontTest : public ::testing::Test {
protected:
    // Loads a copy of an installed font; the test owns the result.
    Font* load(const std::string& installed, float size, int encoding, int flags = 0)
    {
        std::string path = copyFont(folder, installed, "face.ttf");
        File* file = File::open(path.c_str(), File::readAccess);
        Descriptor wanted;
        wanted.family = "ignored";
        wanted.width = size;
        wanted.height = size;
        wanted.encoding = encoding;
        wanted.flags = flags;
        Font* font = nullptr;
        try {
            font = Font::loadFont(wanted, *file);
        } catch (...) {
            file->release();
            throw;
        }
        file->release();
        return font;
    }

    TempFolder folder;
};

// Pixels of the atlas inside a glyph's bitmap rectangle.
bool inside(const GlyphInfo& glyph, int x, int y)
{
    return x >= glyph.x && x < glyph.x + glyph.width && y >= glyph.y && y < glyph.y + glyph.rows;
}

} // namespace

TEST_F(FontTest, atlasGivesEachDistinctGlyphACellOfTheLargestGlyphsSize)
{
    Font* font = load("DejaVuSans.ttf", 24, windowsUnicode, 7);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->className(), "Object:Font");
    EXPECT_EQ(font->getName(), "DejaVu Sans Book");
    EXPECT_EQ(font->descriptor.width, 24.0f);
    EXPECT_EQ(font->descriptor.flags, 7);
    EXPECT_EQ(font->atlas.format(), 0x8000Du);
    ASSERT_EQ(font->atlas.width() % 16, 0);
    int cellWidth = font->atlas.width() / 16;

    // Every character's cell, and the cell height as the smallest step down the atlas.
    std::set<std::pair<int, int>> cells;
    int cellHeight = font->atlas.height();
    int widest = 0;
    int tallest = 0;
    for (const GlyphInfo& glyph : font->glyphs) {
        cells.insert({glyph.x, glyph.y});
        if (glyph.y > 0) {
            cellHeight = std::min(cellHeight, glyph.y);
        }
        widest = std::max(widest, glyph.width);
        tallest = std::max(tallest, glyph.rows);
    }
    // The cell is the largest bitmap with one pixel to spare.
    EXPECT_EQ(cellWidth, widest + 1);
    EXPECT_EQ(cellHeight, tallest + 1);
    // Cells are numbered without gaps, 16 to a row, and the atlas ends with the last row in use.
    int distinct = static_cast<int>(cells.size());
    int number = 0;
    for (auto [x, y] : cells) {
        (void)x;
        EXPECT_EQ(y % cellHeight, 0);
    }
    for (const GlyphInfo& glyph : font->glyphs) {
        ASSERT_EQ(glyph.x % cellWidth, 0);
        number = std::max(number, glyph.y / cellHeight * 16 + glyph.x / cellWidth);
        EXPECT_LT(glyph.width, cellWidth);
        EXPECT_LT(glyph.rows, cellHeight);
    }
    EXPECT_EQ(number, distinct - 1);
    EXPECT_EQ(font->atlas.height(), cellHeight * ((distinct + 15) / 16));

    // Ink only inside the glyphs' bitmaps, and some inside every non-empty one.
    unsigned char* pixels = font->atlas.lock();
    ASSERT_NE(pixels, nullptr);
    std::set<std::pair<int, int>> inked;
    for (int y = 0; y < font->atlas.height(); ++y) {
        for (int x = 0; x < font->atlas.width(); ++x) {
            if (!pixels[y * font->atlas.bytesPerRow() + x]) {
                continue;
            }
            const GlyphInfo* owner = std::find_if(std::begin(font->glyphs), std::end(font->glyphs),
                                                  [&](const GlyphInfo& glyph) { return inside(glyph, x, y); });
            ASSERT_NE(owner, std::end(font->glyphs)) << x << ", " << y;
            inked.insert({owner->x, owner->y});
        }
    }
    font->atlas.unlock();
    for (int code = '!'; code <= '~'; ++code) {
        EXPECT_TRUE(inked.count({font->glyphs[code].x, font->glyphs[code].y})) << static_cast<char>(code);
    }
    font->release();
}

TEST_F(FontTest, letterAIsPlacedPlausiblyAt24Pixels)
{
    Font* font = load("DejaVuSans.ttf", 24, windowsUnicode);
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
    EXPECT_LE(a.advance.x, 20.0f);
    EXPECT_GT(a.advance.y, 20.0f);
    // Advances are whole pixels at this hinted size.
    EXPECT_EQ(a.advance.x, std::floor(a.advance.x));
    // A space has an advance but nothing to draw.
    EXPECT_EQ(font->glyphs[' '].width, 0);
    EXPECT_GT(font->glyphs[' '].advance.x, 4.0f);
    font->release();
}

TEST_F(FontTest, upperHalfCodesAreLookedUpUnsigned)
{
    Font* font = load("DejaVuSans.ttf", 24, windowsUnicode);
    ASSERT_NE(font, nullptr);
    const GlyphInfo& e = font->glyphs['e'];
    const GlyphInfo& eAcute = font->glyphs[0xE9];
    const GlyphInfo& missing = font->glyphs[0x01];
    // 0xE9 is e with an acute accent: its own cell, as wide as e and taller.
    EXPECT_NE(std::make_pair(eAcute.x, eAcute.y), std::make_pair(missing.x, missing.y));
    EXPECT_NE(std::make_pair(eAcute.x, eAcute.y), std::make_pair(e.x, e.y));
    EXPECT_EQ(eAcute.advance.x, e.advance.x);
    EXPECT_GT(eAcute.rows, e.rows);
    // Characters without a glyph of their own share the missing glyph's cell.
    EXPECT_EQ(std::make_pair(font->glyphs[0x02].x, font->glyphs[0x02].y), std::make_pair(missing.x, missing.y));
    font->release();
}

TEST_F(FontTest, encodingOfNoCharacterMapIsReportedAsZero)
{
    for (auto [asked, used] : {std::pair{windowsUnicode, windowsUnicode}, {macRoman, macRoman}, {77, 0}}) {
        Font* font = load("DejaVuSansMono.ttf", 12, asked);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->descriptor.encoding, used) << asked;
        // Mac Roman puts e acute at 0x8E, Unicode leaves that code to the missing glyph.
        bool macGlyph = font->glyphs[0x8E].x != font->glyphs[0x01].x || font->glyphs[0x8E].y != font->glyphs[0x01].y;
        EXPECT_EQ(macGlyph, asked == macRoman) << asked;
        font->release();
    }
}

TEST_F(FontTest, fileThatIsNotAFaceThrowsAndIsClosedAgain)
{
    std::string path = folder.write("text.ttf", std::string(4096, 'x'));
    File* file = File::open(path.c_str(), File::readAccess);
    try {
        Font::loadFont(Descriptor(), *file);
        ADD_FAILURE() << "no exception";
    } catch (const FreetypeException& exception) {
        EXPECT_EQ(exception.message, "FreetypeException");
    }
    file->release();
    // The file is opened exclusively: this fails while anything still holds it.
    File::open(path.c_str(), File::readAccess)->release();
}

TEST_F(FontTest, sizeBeyondAnyAtlasGivesNoFont)
{
    EXPECT_EQ(load("DejaVuSansMono.ttf", 3000, windowsUnicode), nullptr);
    // Sizes that are not positive numbers fall back to FreeType's smallest.
    Font* font = load("DejaVuSansMono.ttf", std::nanf(""), windowsUnicode);
    ASSERT_NE(font, nullptr);
    EXPECT_LE(font->atlas.width(), 16 * 3);
    font->release();
}
