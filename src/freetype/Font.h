#pragma once

#include "freetype/Descriptor.h"
#include "graphics/Image.h"
#include "math/Point.h"
#include "object/Object.h"
#include "types/String.h"

#include <cstdint>

namespace vardel::io {
class File;
}

namespace vardel::freetype {

// Where one character's glyph sits in its font's atlas and how it is placed on a line; all zero for
// a character without a renderable glyph.
struct GlyphInfo {
    // Left pixel of the glyph's cell in the atlas.
    std::int32_t x = 0;
    // Top pixel of the glyph's cell in the atlas.
    std::int32_t y = 0;
    // Width of the glyph's bitmap in pixels.
    std::int32_t width = 0;
    // Height of the glyph's bitmap in pixels.
    std::int32_t rows = 0;
    // Horizontal and vertical advance in pixels.
    math::Point advance{0.0f, 0.0f};
    // Horizontal bearing x and y in pixels.
    math::Point bearing{0.0f, 0.0f};
};

// One face at one pixel size, rendered once into an atlas of one byte per pixel, 16 cells to a row,
// with the placement of each of the 256 one-byte character codes. Holds nothing of FreeType once
// loaded, so it can be read from any thread.
class Font : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Font)

    // Pixel format of the atlas: one 8-bit channel.
    static constexpr std::uint32_t atlasFormat = 0x8000D;
    // Cells of the atlas side by side; 16 rows of them hold the 256 codes.
    static constexpr int cellsPerRow = 16;

    // An empty atlas of the given size and all records zero.
    Font(const Descriptor& descriptor, int atlasWidth, int atlasHeight);
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // The descriptor's name.
    types::String getName() const override;

    // Loading
    // Renders face 0 of file at the descriptor's pixel size through its character map of the
    // descriptor's encoding. The caller owns the result; null when the face gives no atlas that
    // fits in memory. Throws FreetypeException when the file is not a font face.
    static Font* loadFont(const Descriptor& descriptor, io::File& file);

    // The face's own family and style, the requested size, the encoding in use (0 when the
    // requested one was not found) and the requested flags.
    Descriptor descriptor;
    // The glyphs' coverage, one byte a pixel, in cells of equal size.
    graphics::Image atlas;
    // By character code, taken unsigned.
    GlyphInfo glyphs[256];
    // The face's missing-glyph box when a character code shows it; all zero otherwise.
    GlyphInfo missing;
    // Pixels from a line's top to its baseline, at the loaded size.
    float ascent;
    // Pixels from the baseline to a line's bottom.
    float descent;
    // Pixels from one baseline to the next.
    float lineHeight;
};

} // namespace vardel::freetype
