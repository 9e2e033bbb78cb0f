#pragma once

#include "platform/Win32.h"

namespace vardel::gui {

// A LOGPALETTE with room for the largest palette a window or view builds.
struct LogicalPalette {
    static constexpr int capacity = 256;

    const LOGPALETTE* get() const { return reinterpret_cast<const LOGPALETTE*>(this); }

    WORD palVersion = 0;
    WORD palNumEntries = 0;
    PALETTEENTRY palPalEntry[capacity] = {};
};

} // namespace vardel::gui
