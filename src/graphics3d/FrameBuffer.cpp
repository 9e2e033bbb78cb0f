#include "graphics3d/FrameBuffer.h"

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

} // namespace vardel::graphics3d
