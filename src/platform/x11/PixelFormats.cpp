#include "platform/x11/PixelFormats.h"

#include <cstdlib>
#include <cstring>

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "platform/posix/LastError.h"
#include "platform/x11/DeviceContext.h"
#include "platform/x11/Xlib.h"

namespace vardel::platform::x11 {

using posix::fail;

namespace {

int attribute(Display* display, GLXFBConfig config, int name)
{
    int value = 0;
    glXGetFBConfigAttrib(display, config, name, &value);
    return value;
}

BYTE shiftOf(unsigned long mask)
{
    BYTE shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

// The cost of having `have` where `want` was asked for: missing bits cost much more than extra
// ones, and a request of 0 prefers none.
int distance(int have, int want, int missingCost, int extraCost)
{
    return have < want ? (want - have) * missingCost : (have - want) * extraCost;
}

} // namespace

const PixelFormats& PixelFormats::get()
{
    static const PixelFormats* formats = new PixelFormats;
    return *formats;
}

PixelFormats::PixelFormats()
{
    display = Xlib::open();
    if (!display) {
        unavailable = GetLastError();
        return;
    }
    int screen = DefaultScreen(display);
    screenWidth = DisplayWidth(display, screen);
    screenHeight = DisplayHeight(display, screen);
    screenDepth = DefaultDepth(display, screen);
    int errorBase;
    int eventBase;
    // Loading the GL library for the display may fail for want of descriptors or memory; GLX then
    // looks like a display without it.
    Xlib::clearError();
    if (!glXQueryExtension(display, &errorBase, &eventBase)) {
        unavailable = Xlib::shortage();
        return;
    }
    int count = 0;
    GLXFBConfig* configs = glXGetFBConfigs(display, screen, &count);
    if (!configs) {
        unavailable = Xlib::shortage();
    }
    for (int i = 0; i < count; ++i) {
        GLXFBConfig config = configs[i];
        if (!(attribute(display, config, GLX_DRAWABLE_TYPE) & GLX_WINDOW_BIT) ||
            !(attribute(display, config, GLX_RENDER_TYPE) & GLX_RGBA_BIT) || !attribute(display, config, GLX_VISUAL_ID)) {
            continue;
        }
        XVisualInfo* visual = glXGetVisualFromFBConfig(display, config);
        if (!visual) {
            continue;
        }
        Format format{};
        format.configId = attribute(display, config, GLX_FBCONFIG_ID);
        format.visualId = visual->visualid;
        format.samples = attribute(display, config, GLX_SAMPLES);
        format.slow = attribute(display, config, GLX_CONFIG_CAVEAT) == GLX_SLOW_CONFIG;
        PIXELFORMATDESCRIPTOR& d = format.descriptor;
        d.nSize = sizeof(PIXELFORMATDESCRIPTOR);
        d.nVersion = 1;
        d.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
        if (attribute(display, config, GLX_DOUBLEBUFFER)) {
            d.dwFlags |= PFD_DOUBLEBUFFER;
        }
        if (attribute(display, config, GLX_STEREO)) {
            d.dwFlags |= PFD_STEREO;
        }
        d.iPixelType = PFD_TYPE_RGBA;
        d.cRedBits = static_cast<BYTE>(attribute(display, config, GLX_RED_SIZE));
        d.cGreenBits = static_cast<BYTE>(attribute(display, config, GLX_GREEN_SIZE));
        d.cBlueBits = static_cast<BYTE>(attribute(display, config, GLX_BLUE_SIZE));
        d.cAlphaBits = static_cast<BYTE>(attribute(display, config, GLX_ALPHA_SIZE));
        d.cColorBits = static_cast<BYTE>(d.cRedBits + d.cGreenBits + d.cBlueBits);
        d.cRedShift = shiftOf(visual->red_mask);
        d.cGreenShift = shiftOf(visual->green_mask);
        d.cBlueShift = shiftOf(visual->blue_mask);
        d.cAlphaShift = d.cAlphaBits ? static_cast<BYTE>(d.cColorBits) : 0;
        d.cAccumRedBits = static_cast<BYTE>(attribute(display, config, GLX_ACCUM_RED_SIZE));
        d.cAccumGreenBits = static_cast<BYTE>(attribute(display, config, GLX_ACCUM_GREEN_SIZE));
        d.cAccumBlueBits = static_cast<BYTE>(attribute(display, config, GLX_ACCUM_BLUE_SIZE));
        d.cAccumAlphaBits = static_cast<BYTE>(attribute(display, config, GLX_ACCUM_ALPHA_SIZE));
        d.cAccumBits = static_cast<BYTE>(d.cAccumRedBits + d.cAccumGreenBits + d.cAccumBlueBits + d.cAccumAlphaBits);
        d.cDepthBits = static_cast<BYTE>(attribute(display, config, GLX_DEPTH_SIZE));
        d.cStencilBits = static_cast<BYTE>(attribute(display, config, GLX_STENCIL_SIZE));
        d.cAuxBuffers = static_cast<BYTE>(attribute(display, config, GLX_AUX_BUFFERS));
        d.iLayerType = PFD_MAIN_PLANE;
        XFree(visual);
        formats.push_back(format);
    }
    if (configs) {
        XFree(configs);
    }
    PIXELFORMATDESCRIPTOR usual{};
    usual.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    usual.cColorBits = 24;
    usual.cAlphaBits = 8;
    usual.cDepthBits = 24;
    usual.cStencilBits = 8;
    if (int best = choose(usual)) {
        preferredVisual = formats[best - 1].visualId;
    }
}

const PixelFormats::Format* PixelFormats::format(int index) const
{
    return index >= 1 && index <= count() ? &formats[index - 1] : nullptr;
}

int PixelFormats::score(const Format& format, const PIXELFORMATDESCRIPTOR& request) const
{
    const PIXELFORMATDESCRIPTOR& have = format.descriptor;
    int cost = 0;
    if (!(request.dwFlags & PFD_DOUBLEBUFFER_DONTCARE) &&
        (request.dwFlags & PFD_DOUBLEBUFFER) != (have.dwFlags & PFD_DOUBLEBUFFER)) {
        cost += 100000;
    }
    if (!(request.dwFlags & PFD_STEREO_DONTCARE) && (request.dwFlags & PFD_STEREO) != (have.dwFlags & PFD_STEREO)) {
        cost += 100000;
    }
    // Colour requests count the alpha bits in on some systems: 32 means 8 bits a channel.
    int colour = request.cColorBits == 0 || request.cColorBits > 24 ? 24 : request.cColorBits;
    cost += distance(have.cColorBits, colour, 1000, 1000);
    cost += distance(have.cAlphaBits, request.cAlphaBits, 200, 2);
    cost += distance(have.cDepthBits, request.cDepthBits, 200, 2);
    cost += distance(have.cStencilBits, request.cStencilBits, 200, 2);
    cost += distance(have.cAccumBits, request.cAccumBits, 50, 4);
    cost += distance(have.cAuxBuffers, request.cAuxBuffers, 50, 4);
    if (format.samples > 0) {
        cost += 5000;
    }
    if (format.slow && request.cAccumBits == 0) {
        cost += 5000;
    }
    // Between equals, the format whose visual windows already have keeps the window.
    if (format.visualId != preferredVisual) {
        cost += 1;
    }
    return cost;
}

int PixelFormats::choose(const PIXELFORMATDESCRIPTOR& request) const
{
    if (request.iPixelType != PFD_TYPE_RGBA) {
        return 0;
    }
    int best = 0;
    int bestScore = 0;
    for (int i = 0; i < count(); ++i) {
        int cost = score(formats[i], request);
        if (best == 0 || cost < bestScore) {
            best = i + 1;
            bestScore = cost;
        }
    }
    return best;
}

__GLXFBConfigRec* PixelFormats::config(_XDisplay* display, int configId)
{
    const int wanted[] = {GLX_FBCONFIG_ID, configId, None};
    int count = 0;
    GLXFBConfig* found = glXChooseFBConfig(display, DefaultScreen(display), wanted, &count);
    GLXFBConfig config = count > 0 ? found[0] : nullptr;
    if (found) {
        XFree(found);
    }
    return config;
}

} // namespace vardel::platform::x11

using namespace vardel::platform::x11;

int WINAPI ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* request)
{
    if (!DeviceContext::find(dc)) {
        return 0;
    }
    if (!request) {
        fail(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const PixelFormats& formats = PixelFormats::get();
    int chosen = formats.choose(*request);
    if (chosen == 0) {
        fail(formats.unavailable ? formats.unavailable : ERROR_INVALID_PIXEL_FORMAT);
    }
    return chosen;
}

int WINAPI DescribePixelFormat(HDC dc, int index, UINT size, LPPIXELFORMATDESCRIPTOR descriptor)
{
    if (!DeviceContext::find(dc)) {
        return 0;
    }
    const PixelFormats& formats = PixelFormats::get();
    if (descriptor) {
        const PixelFormats::Format* format = formats.format(index);
        if (!format) {
            fail(ERROR_INVALID_PARAMETER);
            return 0;
        }
        std::memcpy(descriptor, &format->descriptor, size < sizeof *descriptor ? size : sizeof *descriptor);
    }
    return formats.count();
}
