#include "gui/OpenGL.h"

#include "platform/OpenGL.h"
#include "graphics3d/Context.h"
#include "gui/LogicalPalette.h"

namespace vardel::gui {

namespace {

// The colour of one channel of palette index i in an RGBA format, spread over 0 to 255. A channel
// with no bits stays dark.
BYTE channel(int index, int bits, int shift)
{
    int maximum = (1 << bits) - 1;
    if (maximum <= 0) {
        return 0;
    }
    return static_cast<BYTE>(((index >> shift) & maximum) * 255 / maximum);
}

} // namespace

OpenGL::OpenGL(const math::Rectangle& rectangle)
    : View(rectangle), renderContext(nullptr), colourBits(32), alphaBits(0), stencilBits(0), accumulationBits(0),
      depthBits(0), auxiliaryBuffers(0), glContext(nullptr), palette(nullptr), failure(Failure::none), failureCode(0)
{
}

bool OpenGL::open()
{
    failure = Failure::none;
    failureCode = 0;
    if (!View::open()) {
        return fail(Failure::childWindow);
    }
    SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));

    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = static_cast<BYTE>(colourBits);
    format.cAlphaBits = static_cast<BYTE>(alphaBits);
    format.cAccumBits = static_cast<BYTE>(accumulationBits);
    format.cDepthBits = static_cast<BYTE>(depthBits);
    format.cStencilBits = static_cast<BYTE>(stencilBits);
    format.cAuxBuffers = static_cast<BYTE>(auxiliaryBuffers);
    format.iLayerType = PFD_MAIN_PLANE;
    int chosen = ChoosePixelFormat(deviceContext, &format);
    if (chosen == 0 || !SetPixelFormat(deviceContext, chosen, &format)) {
        return fail(Failure::pixelFormat);
    }
    DescribePixelFormat(deviceContext, chosen, sizeof format, &format);
    colourBits = format.cColorBits;
    alphaBits = format.cAlphaBits;
    stencilBits = format.cStencilBits;
    accumulationBits = format.cAccumBits;
    depthBits = format.cDepthBits;
    auxiliaryBuffers = format.cAuxBuffers;
    if ((format.dwFlags & PFD_NEED_PALETTE) || format.iPixelType == PFD_TYPE_COLORINDEX) {
        selectPalette(format);
    }

    // Without a current context every paint would leave the view blank, and GL calls would go
    // nowhere.
    glContext = wglCreateContext(deviceContext);
    if (!glContext) {
        return fail(Failure::context);
    }
    if (!wglMakeCurrent(deviceContext, glContext)) {
        fail(Failure::context);
        wglDeleteContext(glContext);
        glContext = nullptr;
        return false;
    }
    int width;
    int height;
    pixelSize(width, height);
    glViewport(0, 0, width, height);
    // Looked up rather than taken as the thread's current one: another view of this thread may
    // have made its own current.
    renderContext = graphics3d::Context::lookup();
    return true;
}

bool OpenGL::close()
{
    if (renderContext) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(glContext);
        glContext = nullptr;
        // A later rendering context with the same handle must not find this record.
        renderContext->unlink();
        renderContext = nullptr;
    }
    if (palette) {
        DeleteObject(palette);
        palette = nullptr;
    }
    View::close();
    return true;
}

bool OpenGL::resized(math::Point)
{
    if (!renderContext) {
        return true;
    }
    int width;
    int height;
    pixelSize(width, height);
    renderContext->frameBuffer.setSize(width, height);
    glViewport(0, 0, width, height);
    return true;
}

void OpenGL::draw() {}

int OpenGL::paletteFor(HDC dc, const PIXELFORMATDESCRIPTOR& format, PALETTEENTRY* entries)
{
    int count = format.cColorBits >= 8 ? LogicalPalette::capacity : 1 << format.cColorBits;
    GetSystemPaletteEntries(dc, 0, count, entries);
    if (format.iPixelType == PFD_TYPE_COLORINDEX) {
        static constexpr PALETTEENTRY primaries[] = {
            {0, 0, 0, PC_NOCOLLAPSE}, {255, 0, 0, PC_NOCOLLAPSE}, {0, 255, 0, PC_NOCOLLAPSE}, {0, 0, 255, PC_NOCOLLAPSE}};
        for (int i = 0; i < 4 && i < count; ++i) {
            entries[i] = primaries[i];
        }
        return count;
    }
    for (int i = 0; i < count; ++i) {
        entries[i] = PALETTEENTRY{channel(i, format.cRedBits, format.cRedShift),
                                  channel(i, format.cGreenBits, format.cGreenShift),
                                  channel(i, format.cBlueBits, format.cBlueShift), 0};
    }
    return count;
}

void OpenGL::selectPalette(const PIXELFORMATDESCRIPTOR& format)
{
    LogicalPalette logical;
    logical.palVersion = 0x300;
    logical.palNumEntries = static_cast<WORD>(paletteFor(deviceContext, format, logical.palPalEntry));
    palette = CreatePalette(logical.get());
    if (palette) {
        SelectPalette(deviceContext, palette, FALSE);
        RealizePalette(deviceContext);
    }
}

LRESULT OpenGL::realizePalette()
{
    if (!palette) {
        return 0;
    }
    UnrealizeObject(palette);
    SelectPalette(deviceContext, palette, FALSE);
    RealizePalette(deviceContext);
    return 1;
}

bool OpenGL::fail(Failure what)
{
    failureCode = GetLastError();
    failure = what;
    return false;
}

void OpenGL::pixelSize(int& width, int& height) const
{
    const graphics::Transform<float>& g = globalTransform;
    width = static_cast<int>(bounds.width * g.a + bounds.height * g.b);
    height = static_cast<int>(bounds.width * g.c + bounds.height * g.d);
}

LRESULT CALLBACK OpenGL::procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* view = reinterpret_cast<OpenGL*>(GetWindowLongPtrA(handle, 0));
    if (view) {
        switch (message) {
        case WM_PAINT:
            ValidateRect(handle, nullptr);
            if (view->renderContext && view->renderContext->makeCurrent()) {
                view->draw();
                SwapBuffers(view->deviceContext);
            }
            return 0;
        case WM_QUERYNEWPALETTE:
            return view->realizePalette();
        case WM_PALETTECHANGED:
            if (reinterpret_cast<HWND>(wParam) != handle) {
                return view->realizePalette();
            }
            break;
        default:
            break;
        }
    }
    return View::procedure(handle, message, wParam, lParam);
}

} // namespace vardel::gui
