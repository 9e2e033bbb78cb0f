#include "platform/x11/DeviceContext.h"

#include <unordered_set>

#include "platform/posix/LastError.h"
#include "platform/x11/Lock.h"
#include "platform/x11/Palette.h"
#include "platform/x11/PixelFormats.h"
#include "platform/x11/WindowRecord.h"

namespace vardel::platform::x11 {

using posix::fail;

namespace {

struct ContextRegistry {
    Lock lock;
    std::unordered_set<DeviceContext*> live;
};

ContextRegistry& registry()
{
    static ContextRegistry* contexts = new ContextRegistry;
    return *contexts;
}

} // namespace

DeviceContext::DeviceContext(WindowRecord* window) : window(window)
{
    Lock::Hold hold(registry().lock);
    registry().live.insert(this);
}

DeviceContext::~DeviceContext()
{
    Lock::Hold hold(registry().lock);
    registry().live.erase(this);
}

DeviceContext* DeviceContext::find(HDC dc)
{
    auto* context = reinterpret_cast<DeviceContext*>(dc);
    Lock::Hold hold(registry().lock);
    if (!dc || !registry().live.count(context)) {
        fail(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return context;
}

DeviceContext& DeviceContext::screen()
{
    static DeviceContext* screen = new DeviceContext(nullptr);
    return *screen;
}

void DeviceContext::forgetPalette(Palette* palette)
{
    Lock::Hold hold(registry().lock);
    for (DeviceContext* context : registry().live) {
        if (context->palette == palette) {
            context->palette = nullptr;
        }
    }
}

} // namespace vardel::platform::x11

using namespace vardel::platform::x11;

HDC WINAPI GetDC(HWND window)
{
    if (!window) {
        return DeviceContext::screen().handle();
    }
    WindowRecord* record = WindowRecord::find(window);
    return record ? record->dc->handle() : nullptr;
}

int WINAPI ReleaseDC(HWND window, HDC dc)
{
    // Device contexts belong to their windows: releasing one only checks that it is theirs.
    DeviceContext* context = DeviceContext::find(dc);
    return context && (window ? WindowRecord::find(window) == context->window : !context->window) ? 1 : 0;
}

HWND WINAPI WindowFromDC(HDC dc)
{
    DeviceContext* context = DeviceContext::find(dc);
    return context && context->window ? context->window->handle() : nullptr;
}

int WINAPI SetMapMode(HDC dc, int mode)
{
    DeviceContext* context = DeviceContext::find(dc);
    if (!context) {
        return 0;
    }
    if (mode != MM_TEXT) {
        fail(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int previous = context->mapMode;
    context->mapMode = mode;
    return previous;
}

int WINAPI SetGraphicsMode(HDC dc, int mode)
{
    DeviceContext* context = DeviceContext::find(dc);
    if (!context) {
        return 0;
    }
    if (mode != GM_COMPATIBLE && mode != GM_ADVANCED) {
        fail(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int previous = context->graphicsMode;
    context->graphicsMode = mode;
    return previous;
}

BOOL WINAPI SetWorldTransform(HDC dc, const XFORM* transform)
{
    DeviceContext* context = DeviceContext::find(dc);
    if (!context) {
        return FALSE;
    }
    if (!transform || context->graphicsMode != GM_ADVANCED) {
        return fail(ERROR_INVALID_PARAMETER);
    }
    context->transform = *transform;
    return TRUE;
}

int WINAPI GetDeviceCaps(HDC dc, int index)
{
    if (!DeviceContext::find(dc)) {
        return 0;
    }
    const PixelFormats& formats = PixelFormats::get();
    switch (index) {
    case HORZRES:
        return formats.screenWidth;
    case VERTRES:
        return formats.screenHeight;
    case BITSPIXEL:
        return formats.screenDepth;
    case PLANES:
        return 1;
    case NUMCOLORS:
        return -1;
    case SIZEPALETTE:
        return 0;
    case RASTERCAPS:
        // True colour: no RC_PALETTE.
        return RC_BITBLT | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    default:
        return 0;
    }
}

int WINAPI GetPixelFormat(HDC dc)
{
    DeviceContext* context = DeviceContext::find(dc);
    if (!context || !context->window) {
        return 0;
    }
    return context->window->pixelFormat;
}

BOOL WINAPI SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*)
{
    DeviceContext* context = DeviceContext::find(dc);
    if (!context) {
        return FALSE;
    }
    WindowRecord* window = context->window;
    if (!window || !PixelFormats::get().format(format)) {
        return fail(ERROR_INVALID_PIXEL_FORMAT);
    }
    if (window->threadId != GetCurrentThreadId()) {
        return fail(ERROR_ACCESS_DENIED);
    }
    // A window's pixel format is set once.
    if (window->pixelFormat != 0) {
        return window->pixelFormat == format ? TRUE : fail(ERROR_INVALID_PIXEL_FORMAT);
    }
    return window->usePixelFormat(format) ? TRUE : FALSE;
}
