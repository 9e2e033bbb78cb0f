#pragma once

#include <cstdint>

#include "platform/Win32.h"
#include "math/Point.h"
#include "math/Rectangle.h"
#include "object/Object.h"
#include "types/String.h"
#include "graphics3d/Forward.h"
#include "gui/View.h"

namespace vardel::gui {

// A view whose child window carries an OpenGL rendering context. Every paint makes the context
// current, calls draw and swaps the buffers.
class OpenGL : public View {
    VARDEL_CLASS_PATH(View, OpenGL)

    // Requests colourBits 32 and nothing else; a derived view sets its own before opening.
    explicit OpenGL(const math::Rectangle& rectangle);

    // What the last open could not make; none after one that succeeded.
    enum class Failure : std::uint8_t { none, childWindow, pixelFormat, context };

    // Creates the child window, sets the pixel format closest to the requests (which then hold
    // the format's real values), makes the rendering context current and attaches its 3D
    // Context. False, keeping the child window, when no pixel format could be set or no
    // rendering context made current: failure and failureCode then say which and why.
    bool open() override;
    // Deletes the rendering context, then the child window.
    bool close() override;
    // Tells the frame buffer and the viewport the view's size in pixels.
    bool resized(math::Point size) override;

    // Draws a frame, on the window thread with the rendering context current.
    virtual void draw();

    // Fills entries for a palette-based format and returns how many there are (at most 256): the
    // system palette's colours, then the colour ramp of an RGBA format or the four primaries of
    // a colour-index one.
    static int paletteFor(HDC dc, const PIXELFORMATDESCRIPTOR& format, PALETTEENTRY* entries);

    // Installed over the view procedure, to which it passes what it does not handle.
    static LRESULT CALLBACK procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

    // The 3D record of the rendering context while open, or null.
    graphics3d::Context* renderContext;
    // Colour bits asked for, then those of the chosen format.
    std::int32_t colourBits;
    // Alpha bits asked for, then those of the chosen format.
    std::int32_t alphaBits;
    // Stencil bits asked for, then those of the chosen format.
    std::int32_t stencilBits;
    // Accumulation bits asked for, then those of the chosen format.
    std::int32_t accumulationBits;
    // Depth bits asked for, then those of the chosen format.
    std::int32_t depthBits;
    // Auxiliary buffers asked for, then those of the chosen format.
    std::int32_t auxiliaryBuffers;
    // The rendering context while open, or null.
    HGLRC glContext;
    // The view's palette for a palette-based format, or null.
    HPALETTE palette;
    // What the last open could not make.
    Failure failure;
    // The system's error code for the failure.
    DWORD failureCode;

private:
    // The view's size in pixels, through its global transform.
    void pixelSize(int& width, int& height) const;
    void selectPalette(const PIXELFORMATDESCRIPTOR& format);
    LRESULT realizePalette();
    // Records the failure with the calling thread's last error, for open to return.
    bool fail(Failure what);
};

} // namespace vardel::gui
