#pragma once

#include "container/Map.h"
#include "object/Object.h"
#include "types/String.h"
#include "gui3d/FontMap.h"

namespace vardel::gui3d {

// The font maps of one root view, by font. Used only on the thread that owns the root.
class FontCache : public object::Object {
    VARDEL_CLASS_PATH(object::Object, FontCache)

    FontCache() = default;
    // Gives back the cache's reference on every map.
    ~FontCache() override;
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // The map of a font, made on first request with the rendering context current; it lives as
    // long as the cache, which must go while that rendering context is current.
    FontMap* mapFor(freetype::Font* font);

    // The map of each font asked for so far; the cache owns them.
    container::Map<const freetype::Font*, FontMap*> maps;
};

} // namespace vardel::gui3d
