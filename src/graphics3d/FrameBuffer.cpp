#include "graphics3d/FrameBuffer.h"

#include <cstring>
#include <new>
#include <vector>

#include "platform/OpenGL.h"
#include "graphics/Image.h"

namespace vardel::graphics3d {

FrameBuffer::FrameBuffer() : width(0), height(0), deviceContext(wglGetCurrentDC()), window(WindowFromDC(deviceContext))
{
    refreshSize();
}

void FrameBuffer::setSize(std::int32_t newWidth, std::int32_t newHeight)
{
    SetWindowPos(window, nullptr, 0, 0, newWidth, newHeight,
                 SWP_NOSENDCHANGING | SWP_NOCOPYBITS | SWP_NOZORDER | SWP_NOMOVE);
    refreshSize();
}

void FrameBuffer::refreshSize()
{
    RECT rect;
    if (!GetWindowRect(window, &rect))
        return;
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
}

graphics::Image* FrameBuffer::capture() const
{
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    auto* image = new (std::nothrow) graphics::Image(graphics::Image::rgb24, width, height);
    unsigned char* pixels = image ? image->lock() : nullptr;
    if (!pixels) {
        if (image) {
            image->release();
        }
        return nullptr;
    }
    GLint alignment = 0;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    // OpenGL's rows start at the bottom.
    std::size_t rowBytes = static_cast<std::size_t>(image->bytesPerRow());
    std::vector<unsigned char> row(rowBytes);
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        std::memcpy(row.data(), pixels + top * rowBytes, rowBytes);
        std::memcpy(pixels + top * rowBytes, pixels + bottom * rowBytes, rowBytes);
        std::memcpy(pixels + bottom * rowBytes, row.data(), rowBytes);
    }
    image->unlock();
    return image;
}

} // namespace vardel::graphics3d
