#include "gui3d/FontCache.h"

namespace vardel::gui3d {

FontCache::~FontCache()
{
    for (auto& node : maps) {
        node.value->release();
    }
    maps.clear();
}

FontMap* FontCache::mapFor(freetype::Font* font)
{
    if (auto* node = maps.find(font)) {
        return node->value;
    }
    auto* map = new FontMap(font);
    maps.insert(font, map);
    return map;
}

} // namespace vardel::gui3d
