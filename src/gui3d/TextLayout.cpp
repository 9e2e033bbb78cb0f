#include "gui3d/TextLayout.h"

#include <algorithm>

namespace vardel::gui3d {

namespace {

bool continues(const char* text, std::uint32_t length, std::uint32_t at, std::uint32_t count)
{
    if (length - at < count) {
        return false;
    }
    for (std::uint32_t i = 1; i < count; ++i) {
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) {
            return false;
        }
    }
    return true;
}

} // namespace

TextLayout::TextLayout(const freetype::Font& font)
    : font(font), lineHeight(font.lineHeight > 0 ? font.lineHeight : font.descriptor.height)
{
}

const freetype::GlyphInfo& TextLayout::next(const char* text, std::uint32_t length, std::uint32_t at,
                                            std::uint32_t& taken) const
{
    auto lead = static_cast<unsigned char>(text[at]);
    taken = 1;
    if (lead < 0x80) {
        return font.glyphs[lead];
    }
    // Two bytes from C2 and C3 are the characters 0x80 to 0xFF; longer ones lie beyond the atlas.
    std::uint32_t count = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                        : lead >= 0xF0 && lead <= 0xF4                                   ? 4
                                                                                          : 0;
    if (count == 0 || !continues(text, length, at, count)) {
        return font.missing;
    }
    taken = count;
    if (count == 2 && lead <= 0xC3) {
        return font.glyphs[((lead & 0x1F) << 6) | (static_cast<unsigned char>(text[at + 1]) & 0x3F)];
    }
    return font.missing;
}

math::Rectangle TextLayout::measure(const char* text, std::uint32_t length) const
{
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = font.ascent + font.descent;
    place(text, length, [&](const Glyph& glyph) {
        right = std::max(right, glyph.penX + glyph.info->advance.x);
        bottom = std::max(bottom, glyph.baseline + font.descent);
        if (glyph.info->width > 0 && glyph.info->rows > 0) {
            left = std::min(left, glyph.x);
            top = std::min(top, glyph.y);
            right = std::max(right, glyph.x + static_cast<float>(glyph.info->width));
            bottom = std::max(bottom, glyph.y + static_cast<float>(glyph.info->rows));
        }
    });
    return math::Rectangle(left, top, right - left, bottom - top);
}

} // namespace vardel::gui3d
