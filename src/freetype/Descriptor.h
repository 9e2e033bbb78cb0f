#pragma once

#include "object/Object.h"
#include "types/String.h"

#include <cstdint>

namespace vardel::freetype {

// A wanted font, or the one actually loaded: family, style, pixel size and character map.
class Descriptor : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Descriptor)

    Descriptor();
    // A copy of every field.
    Descriptor(const Descriptor& other) = default;
    // Takes every field of other.
    Descriptor& operator=(const Descriptor& other) = default;

    // The family, a space and the style.
    types::String getName() const override;

    // The family name, such as "DejaVu Sans".
    types::String family;
    // The style name, such as "Bold"; empty for the regular face.
    types::String style;
    // Pixel size
    // The width of the characters in pixels.
    float width;
    // The height of the characters in pixels.
    float height;
    // The platform-specific encoding id of the character map to use.
    std::int32_t encoding;
    // Carried along with the descriptor for its users.
    std::int32_t flags;
};

} // namespace vardel::freetype
