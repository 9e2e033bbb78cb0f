#pragma once

#include "platform/Win32.h"

namespace vardel::gui {

// A LOGPALETTE with room for the largest palette a window or view builds.
struct LogicalPalette {
    // Entries the palette holds room for.
    static constexpr int capacity = 256;

    // The palette as the LOGPALETTE that CreatePalette takes.
    const LOGPALETTE* get() const { return reinterpret_cast<const LOGPALETTE*>(this); }

    // 0x300, the version CreatePalette expects, once filled.
    WORD palVersion = 0;
    // Entries in use.
    WORD palNumEntries = 0;
    // The colours.
    PALETTEENTRY palPalEntry[capacity] = {};
};

} // namespace vardel::gui
