#pragma once

#include "platform/OpenGL.h"
#include "object/Object.h"
#include "types/String.h"
#include "graphics3d/Texture.h"
#include "freetype/Forward.h"

namespace vardel::gui3d {

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

    freetype::Font* font;

private:
    static GLuint upload(freetype::Font& font);
};

} // namespace vardel::gui3d
