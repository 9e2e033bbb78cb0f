#pragma once

#include "object/Object.h"
#include "types/String.h"

namespace vardel::freetype {
class Font;
}

namespace vardel::gui3d {

// The form of a font that one rendering context draws text with.
class FontMap : public object::Object {
    VARDEL_CLASS_PATH(object::Object, FontMap)

    explicit FontMap(const freetype::Font* font) : font(font) {}

    // The font the map was made from; not a counted reference, the cache is keyed by it.
    const freetype::Font* font;
};

} // namespace vardel::gui3d
