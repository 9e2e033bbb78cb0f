#pragma once

#include <vector>

#include "platform/x11/Desktop.h"

namespace vardel::platform::x11 {

// A logical palette. The display is true-colour, so palettes are kept only to be selected,
// realised and deleted as on a palette-based one.
class Palette {
public:
    explicit Palette(const LOGPALETTE& logical);

    // The live palette behind a GDI object handle, or null with ERROR_INVALID_HANDLE set. The
    // default palette is a live palette that cannot be deleted.
    static Palette* find(HGDIOBJ object);
    static Palette& standard();

    HPALETTE handle() { return reinterpret_cast<HPALETTE>(this); }

    std::vector<PALETTEENTRY> entries;
};

} // namespace vardel::platform::x11
