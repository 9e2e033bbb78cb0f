#pragma once

#include <cstdint>

#include "platform/OpenGL.h"
#include "math/Colour4.h"
#include "math/Point.h"
#include "math/Rectangle.h"
#include "object/Object.h"
#include "types/String.h"
#include "graphics3d/Texture.h"
#include "freetype/Forward.h"

namespace vardel::gui3d {

class Overlay;

// A font as one rendering context draws it: the font's atlas as an alpha texture of that context,
// beside the font whose glyph records place the characters in it.
class FontMap : public graphics3d::Texture {
    VARDEL_CLASS_PATH(graphics3d::Texture, FontMap)

    // Needs the rendering context current; takes a reference on the font.
    explicit FontMap(freetype::Font* font);
    // Needs the same rendering context current.
    ~FontMap() override;
    FontMap(const FontMap&) = delete;
    FontMap& operator=(const FontMap&) = delete;

    // Text (UTF-8, as TextLayout places it)
    // Draws the text with the top-left corner of its first line at origin, in window pixels
    // rounded to whole ones, its pixels in colour blended by the glyphs' coverage.
    void draw(Overlay& overlay, const char* text, std::uint32_t length, math::Point origin,
              const math::Colour4& colour);
    // The box the text would take drawn at (0, 0); needs no rendering context.
    math::Rectangle measure(const char* text, std::uint32_t length) const;

    // The font whose atlas the map holds; counted.
    freetype::Font* font;

private:
    static GLuint upload(freetype::Font& font);
};

} // namespace vardel::gui3d
