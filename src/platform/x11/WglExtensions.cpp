#include "platform/x11/WglExtensions.h"

#include <cstring>
#include <string>

#include <GL/glx.h>
#include <GL/glxext.h>

#include "platform/posix/LastError.h"
#include "platform/x11/Connection.h"
#include "platform/x11/DeviceContext.h"
#include "platform/x11/GlContext.h"
#include "platform/x11/WindowRecord.h"

namespace vardel::platform::x11 {

using posix::fail;

namespace {

// How GLX lets a program set the swap interval. GLX_SGI_swap_control alone does not count: it
// cannot turn synchronisation off, which is what programs most want from WGL_EXT_swap_control.
struct SwapControl {
    PFNGLXSWAPINTERVALEXTPROC setForDrawable = nullptr;
    PFNGLXSWAPINTERVALMESAPROC setForCurrent = nullptr;
    PFNGLXGETSWAPINTERVALMESAPROC getForCurrent = nullptr;

    bool available() const { return setForDrawable || (setForCurrent && getForCurrent); }
};

template <typename Function>
Function glxFunction(const char* name)
{
    return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

bool listed(const char* names, const char* name)
{
    std::string spaced = std::string(" ") + (names ? names : "") + " ";
    return spaced.find(std::string(" ") + name + " ") != std::string::npos;
}

// Every connection of the process talks to the same server, so the first one to ask decides.
const SwapControl& swapControl(Display* display)
{
    static const SwapControl control = [display] {
        SwapControl found;
        const char* names = glXQueryExtensionsString(display, DefaultScreen(display));
        if (listed(names, "GLX_EXT_swap_control")) {
            found.setForDrawable = glxFunction<PFNGLXSWAPINTERVALEXTPROC>("glXSwapIntervalEXT");
        } else if (listed(names, "GLX_MESA_swap_control")) {
            found.setForCurrent = glxFunction<PFNGLXSWAPINTERVALMESAPROC>("glXSwapIntervalMESA");
            found.getForCurrent = glxFunction<PFNGLXGETSWAPINTERVALMESAPROC>("glXGetSwapIntervalMESA");
        }
        return found;
    }();
    return control;
}

const char* extensionNames(Display* display)
{
    return swapControl(display).available()
        ? "WGL_ARB_extensions_string WGL_EXT_extensions_string WGL_EXT_swap_control"
        : "WGL_ARB_extensions_string WGL_EXT_extensions_string";
}

// The drawable of the calling thread's current context, or false with the reason set.
bool currentWindow(Display*& display, GLXDrawable& drawable)
{
    GlContext* context = GlContext::current();
    DeviceContext* dc = GlContext::currentDc();
    if (!context || !dc || !dc->window) {
        return fail(ERROR_INVALID_HANDLE);
    }
    display = context->connection->display();
    drawable = dc->window->xid;
    return true;
}

const char* WINAPI getExtensionsStringEXT()
{
    Display* display;
    GLXDrawable drawable;
    return currentWindow(display, drawable) ? extensionNames(display) : nullptr;
}

const char* WINAPI getExtensionsStringARB(HDC dc)
{
    DeviceContext* deviceContext = DeviceContext::find(dc);
    if (!deviceContext) {
        return nullptr;
    }
    if (deviceContext->window) {
        return extensionNames(deviceContext->window->connection->display());
    }
    return getExtensionsStringEXT();
}

BOOL WINAPI swapIntervalEXT(int interval)
{
    Display* display;
    GLXDrawable drawable;
    if (!currentWindow(display, drawable)) {
        return FALSE;
    }
    if (interval < 0) {
        return fail(ERROR_INVALID_DATA);
    }
    const SwapControl& control = swapControl(display);
    if (control.setForDrawable) {
        control.setForDrawable(display, drawable, interval);
        return TRUE;
    }
    return control.setForCurrent(static_cast<unsigned>(interval)) == 0 ? TRUE : fail(ERROR_INVALID_DATA);
}

int WINAPI getSwapIntervalEXT()
{
    Display* display;
    GLXDrawable drawable;
    if (!currentWindow(display, drawable)) {
        return 0;
    }
    const SwapControl& control = swapControl(display);
    if (control.setForDrawable) {
        unsigned value = 0;
        glXQueryDrawable(display, drawable, GLX_SWAP_INTERVAL_EXT, &value);
        return static_cast<int>(value);
    }
    return control.getForCurrent();
}

struct Function {
    const char* name;
    const char* extension;
    PROC entry;
};

const Function functions[] = {
    {"wglGetExtensionsStringARB", "WGL_ARB_extensions_string", reinterpret_cast<PROC>(getExtensionsStringARB)},
    {"wglGetExtensionsStringEXT", "WGL_EXT_extensions_string", reinterpret_cast<PROC>(getExtensionsStringEXT)},
    {"wglGetSwapIntervalEXT", "WGL_EXT_swap_control", reinterpret_cast<PROC>(getSwapIntervalEXT)},
    {"wglSwapIntervalEXT", "WGL_EXT_swap_control", reinterpret_cast<PROC>(swapIntervalEXT)},
};

} // namespace

PROC WglExtensions::entryPoint(const GlContext& context, const char* name)
{
    for (const Function& function : functions) {
        if (std::strcmp(function.name, name) == 0) {
            bool offered = listed(extensionNames(context.connection->display()), function.extension);
            return offered ? function.entry : nullptr;
        }
    }
    return nullptr;
}

} // namespace vardel::platform::x11
