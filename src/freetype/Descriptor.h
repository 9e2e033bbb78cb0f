#pragma once

#include "object/Object.h"
#include "types/String.h"

#include <cstdint>

namespace vardel::freetype {

// A wanted font, or the one actually loaded: family, style, pixel size and character map.
class Descriptor : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Descriptor)

    Descriptor();
    Descriptor(const Descriptor& other) = default;
    Descriptor& operator=(const Descriptor& other) = default;

    // The family, a space and the style.
    types::String getName() const override;

    types::String family;
    types::String style;
    // Pixel size
    float width;
    float height;
    // The platform-specific encoding id of the character map to use.
    std::int32_t encoding;
    // Carried along with the descriptor for its users.
    std::int32_t flags;
};

} // namespace vardel::freetype
