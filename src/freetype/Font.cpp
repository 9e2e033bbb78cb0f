#include "freetype/Font.h"

#include <algorithm>
#include <cstring>

#include "container/Map.h"
#include "freetype/Freetype.h"
#include "freetype/FreetypeException.h"
#include "freetype/GlyphBitmap.h"

namespace vardel::freetype {

namespace {

static_assert(int{GlyphBitmap::mono} == int{FT_PIXEL_MODE_MONO} && int{GlyphBitmap::gray} == int{FT_PIXEL_MODE_GRAY}
              && int{GlyphBitmap::gray2} == int{FT_PIXEL_MODE_GRAY2} && int{GlyphBitmap::gray4} == int{FT_PIXEL_MODE_GRAY4});

// The atlas is meant to become a texture; the bound also keeps the glyph metrics of a damaged font
// from asking for gigabytes.
constexpr long long maxAtlasSide = 16384;

// A requested pixel size, truncated, as FreeType takes it. Anything below one pixel (NaN included)
// becomes 0, which FreeType reads as "the same as the other side".
FT_UInt pixelSize(float size)
{
    if (!(size >= 1.0f)) {
        return 0;
    }
    return size >= 65535.0f ? 65535 : static_cast<FT_UInt>(size);
}

// Makes the first character map with the given platform-specific encoding id active and returns
// the id; 0 when no map has it (or none accepts it), and the face keeps its default map.
std::int32_t selectCharmap(FT_Face face, std::int32_t encoding)
{
    for (int i = 0; i < face->num_charmaps; ++i) {
        if (face->charmaps[i]->encoding_id == encoding && FT_Set_Charmap(face, face->charmaps[i]) == 0) {
            return encoding;
        }
    }
    return 0;
}

// A cell side in pixels for the largest glyph extent in 26.6 units, with one pixel to spare.
long long cellSide(FT_Pos extent)
{
    return extent > maxAtlasSide * 64 ? maxAtlasSide + 1 : ((extent + 63) >> 6) + 1;
}

} // namespace

Font::Font(const Descriptor& descriptor, int atlasWidth, int atlasHeight)
    : descriptor(descriptor), atlas(atlasFormat, atlasWidth, atlasHeight), glyphs{}, missing{}, ascent(0),
      descent(0), lineHeight(0)
{
}

types::String Font::getName() const
{
    return descriptor.getName();
}

Font* Font::loadFont(const Descriptor& descriptor, io::File& file)
{
    Freetype::Lock lock;
    Freetype::Face opened(file);
    FT_Face face = opened.face;
    if (!face) {
        throw FreetypeException();
    }
    Descriptor actual(descriptor);
    actual.family = face->family_name ? face->family_name : "";
    actual.style = face->style_name ? face->style_name : "";
    actual.encoding = selectCharmap(face, descriptor.encoding);
    FT_Set_Pixel_Sizes(face, pixelSize(descriptor.width), pixelSize(descriptor.height));

    // Characters that map to one glyph share its cell: cells are numbered by first appearance.
    container::Map<FT_UInt, int> cells;
    FT_UInt glyphOf[256];
    FT_Pos widest = 0;
    FT_Pos tallest = 0;
    for (FT_ULong code = 0; code < 256; ++code) {
        FT_UInt glyph = FT_Get_Char_Index(face, code);
        glyphOf[code] = glyph;
        if (cells.find(glyph)) {
            continue;
        }
        cells.insert(glyph, cells.count);
        if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) == 0) {
            widest = std::max(widest, face->glyph->metrics.width);
            tallest = std::max(tallest, face->glyph->metrics.height);
        }
    }

    long long cellWidth = cellSide(widest);
    long long cellHeight = cellSide(tallest);
    long long atlasWidth = cellsPerRow * cellWidth;
    long long atlasHeight = cellHeight * ((cells.count + cellsPerRow - 1) / cellsPerRow);
    if (atlasWidth > maxAtlasSide || atlasHeight > maxAtlasSide) {
        return nullptr;
    }
    Font* font = new Font(actual, static_cast<int>(atlasWidth), static_cast<int>(atlasHeight));
    unsigned char* pixels = font->atlas.lock();
    if (!pixels) {
        font->release();
        return nullptr;
    }
    int stride = font->atlas.bytesPerRow();
    std::memset(pixels, 0, static_cast<std::size_t>(stride) * static_cast<std::size_t>(atlasHeight));

    // Each distinct glyph is rendered once, in glyph order; its record serves every character
    // that maps to it.
    GlyphInfo placed[256];
    for (auto& cell : cells) {
        if (FT_Load_Glyph(face, cell.key, FT_LOAD_DEFAULT) != 0
            || FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
            continue;
        }
        int x = static_cast<int>(cell.value % cellsPerRow * cellWidth);
        int y = static_cast<int>(cell.value / cellsPerRow * cellHeight);
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        GlyphBitmap source{bitmap.buffer, bitmap.pitch, static_cast<int>(bitmap.width), static_cast<int>(bitmap.rows),
                           bitmap.pixel_mode, bitmap.num_grays};
        // A damaged font may render beyond its own metrics: what does not fit the cell is cut.
        int width = static_cast<int>(std::min<long long>(source.width, cellWidth));
        int rows = static_cast<int>(std::min<long long>(source.rows, cellHeight));
        source.copyTo(pixels + static_cast<std::size_t>(y) * stride + x, stride, width, rows);
        const FT_Glyph_Metrics& metrics = face->glyph->metrics;
        placed[cell.value] = GlyphInfo{x,
                                       y,
                                       width,
                                       rows,
                                       {metrics.horiAdvance / 64.0f, metrics.vertAdvance / 64.0f},
                                       {metrics.horiBearingX / 64.0f, metrics.horiBearingY / 64.0f}};
    }
    font->atlas.unlock();

    for (int code = 0; code < 256; ++code) {
        font->glyphs[code] = placed[cells.find(glyphOf[code])->value];
    }
    if (auto* box = cells.find(0)) {
        font->missing = placed[box->value];
    }
    const FT_Size_Metrics& size = face->size->metrics;
    font->ascent = size.ascender / 64.0f;
    font->descent = -size.descender / 64.0f;
    font->lineHeight = size.height / 64.0f;
    return font;
}

} // namespace vardel::freetype
