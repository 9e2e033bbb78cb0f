#pragma once

#include "object/Object.h"
#include "platform/Win32.h"
#include "types/String.h"

#include <cstdint>

namespace vardel::graphics {
class Image;
}

namespace vardel::graphics3d {

// The window a rendering context draws into and its size.
class FrameBuffer : public object::Object {
    VARDEL_CLASS_PATH(object::Object, FrameBuffer)

    // The window of the device context current on the calling thread, and its size.
    FrameBuffer();

    // Resizes the window and then records the outer size it actually got.
    void setSize(std::int32_t newWidth, std::int32_t newHeight);
    // Records the window's outer size.
    void refreshSize();
    // A new image (Image::rgb24, top row first) of what the back buffer of the current rendering
    // context holds; null when the window has no pixels or memory runs out.
    graphics::Image* capture() const;

    // The window's width in pixels.
    std::int32_t width;
    // The window's height in pixels.
    std::int32_t height;
    // The device context of the window.
    HDC deviceContext;
    // The window drawn into.
    HWND window;
};

} // namespace vardel::graphics3d
