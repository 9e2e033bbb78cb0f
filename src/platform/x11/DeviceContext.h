#pragma once

#include "platform/x11/Desktop.h"

namespace vardel::platform::x11 {

class Palette;
class WindowRecord;

// A device context: the window it draws on (null for the screen's) and the drawing state kept for
// it. Every window has one for its whole life, as with CS_OWNDC; the mapping mode, graphics mode,
// world transform and palette are recorded but do not change how GL draws.
class DeviceContext {
public:
    explicit DeviceContext(WindowRecord* window);
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    // The live device context behind a handle, or null with ERROR_INVALID_HANDLE set.
    static DeviceContext* find(HDC dc);
    static DeviceContext& screen();
    // Makes every device context that holds palette use the default palette again.
    static void forgetPalette(Palette* palette);

    HDC handle() { return reinterpret_cast<HDC>(this); }

    WindowRecord* const window;
    int mapMode = MM_TEXT;
    int graphicsMode = GM_COMPATIBLE;
    XFORM transform{1, 0, 0, 1, 0, 0};
    // Null while the default palette is selected.
    Palette* palette = nullptr;
};

} // namespace vardel::platform::x11
