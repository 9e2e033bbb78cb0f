#pragma once

#include <cmath>
#include <cstdint>

#include "math/Rectangle.h"
#include "freetype/Font.h"

namespace vardel::gui3d {

// Where the characters of a UTF-8 text go when written with a font, in pixels from the text's
// origin: the top-left corner of its first line, y growing downwards. Characters 0 to 255 take
// their glyphs from the font's atlas; every other character, and every byte that does not make
// a character, takes the font's missing-glyph box. A newline starts the next line, one line
// height further down.
class TextLayout {
public:
    // One character: its glyph, the pen on its baseline, and the top-left corner of its bitmap
    // on whole pixels, so that the atlas is sampled at its texel centres.
    struct Glyph {
        // The glyph's record in the font.
        const freetype::GlyphInfo* info;
        // The pen's position on the line before the character.
        float penX;
        // The line's baseline.
        float baseline;
        // The left pixel of the glyph's bitmap.
        float x;
        // The top pixel of the glyph's bitmap.
        float y;
    };

    // Places text in font.
    explicit TextLayout(const freetype::Font& font);

    // Hands every character but the newlines to visit, in text order.
    template <typename Visit>
    void place(const char* text, std::uint32_t length, Visit&& visit) const;
    // The box that holds each line's height and advances and every glyph's pixels; a text with no
    // character is one empty line.
    math::Rectangle measure(const char* text, std::uint32_t length) const;

    // The font whose glyphs are placed.
    const freetype::Font& font;
    // Pixels from one baseline to the next.
    float lineHeight;

private:
    // The glyph of the character that starts at text[at], and the length of its bytes.
    const freetype::GlyphInfo& next(const char* text, std::uint32_t length, std::uint32_t at,
                                    std::uint32_t& taken) const;
};

template <typename Visit>
void TextLayout::place(const char* text, std::uint32_t length, Visit&& visit) const
{
    float penX = 0;
    float baseline = font.ascent;
    for (std::uint32_t at = 0; at < length;) {
        if (text[at] == '\n') {
            penX = 0;
            baseline += lineHeight;
            ++at;
            continue;
        }
        std::uint32_t taken = 1;
        const freetype::GlyphInfo& glyph = next(text, length, at, taken);
        at += taken;
        visit(Glyph{&glyph, penX, baseline, std::floor(penX + glyph.bearing.x + 0.5f),
                    std::floor(baseline - glyph.bearing.y + 0.5f)});
        penX += glyph.advance.x;
    }
}

} // namespace vardel::gui3d
