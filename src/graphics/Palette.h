#pragma once

#include "object/Object.h"
#include "types/String.h"

namespace vardel::graphics {

// 256 colour entries of four components each; what the components mean is up to the user.
// Copies take all entries whole, never a share of them.
template <typename T>
class Palette : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Palette)

    // Entries in every palette.
    static constexpr int entryCount = 256;

    Palette() : entries{} {}

    // The entries, four components each.
    T entries[entryCount][4];
};

} // namespace vardel::graphics
