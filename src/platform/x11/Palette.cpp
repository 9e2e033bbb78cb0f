#include "platform/x11/Palette.h"

#include <unordered_set>

#include "platform/posix/LastError.h"
#include "platform/x11/DeviceContext.h"
#include "platform/x11/Lock.h"

namespace vardel::platform::x11 {

using posix::fail;

namespace {

struct PaletteRegistry {
    Lock lock;
    std::unordered_set<Palette*> live;
};

PaletteRegistry& registry()
{
    static PaletteRegistry* palettes = new PaletteRegistry;
    return *palettes;
}

} // namespace

Palette::Palette(const LOGPALETTE& logical) : entries(logical.palPalEntry, logical.palPalEntry + logical.palNumEntries)
{
}

Palette* Palette::find(HGDIOBJ object)
{
    auto* palette = static_cast<Palette*>(object);
    if (palette == &standard()) {
        return palette;
    }
    Lock::Hold hold(registry().lock);
    if (!object || !registry().live.count(palette)) {
        fail(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return palette;
}

Palette& Palette::standard()
{
    static Palette* palette = [] {
        LOGPALETTE empty{0x300, 0, {}};
        return new Palette(empty);
    }();
    return *palette;
}

} // namespace vardel::platform::x11

using namespace vardel::platform::x11;

HPALETTE WINAPI CreatePalette(const LOGPALETTE* logical)
{
    if (!logical || logical->palVersion != 0x300 || logical->palNumEntries == 0) {
        fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto* palette = new Palette(*logical);
    Lock::Hold hold(registry().lock);
    registry().live.insert(palette);
    return palette->handle();
}

HPALETTE WINAPI SelectPalette(HDC dc, HPALETTE palette, BOOL)
{
    DeviceContext* context = DeviceContext::find(dc);
    Palette* selected = context ? Palette::find(palette) : nullptr;
    if (!selected) {
        return nullptr;
    }
    Palette* previous = context->palette ? context->palette : &Palette::standard();
    context->palette = selected == &Palette::standard() ? nullptr : selected;
    return previous->handle();
}

UINT WINAPI RealizePalette(HDC dc)
{
    // A true-colour display maps no entries into a system palette.
    return DeviceContext::find(dc) ? 0 : static_cast<UINT>(-1);
}

BOOL WINAPI UnrealizeObject(HGDIOBJ object)
{
    return Palette::find(object) ? TRUE : FALSE;
}

BOOL WINAPI DeleteObject(HGDIOBJ object)
{
    Palette* palette = Palette::find(object);
    if (!palette) {
        return FALSE;
    }
    if (palette == &Palette::standard()) {
        return TRUE;
    }
    DeviceContext::forgetPalette(palette);
    {
        Lock::Hold hold(registry().lock);
        registry().live.erase(palette);
    }
    delete palette;
    return TRUE;
}

UINT WINAPI GetSystemPaletteEntries(HDC dc, UINT, UINT, LPPALETTEENTRY)
{
    DeviceContext::find(dc);
    return 0;
}
