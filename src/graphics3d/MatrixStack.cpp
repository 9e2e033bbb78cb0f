#include "graphics3d/MatrixStack.h"

namespace vardel::graphics3d {

MatrixStack::MatrixStack() : mode(0) {}

void MatrixStack::setMode(GLenum newMode)
{
    if (newMode == mode)
        return;
    glMatrixMode(newMode);
    mode = newMode;
}

} // namespace vardel::graphics3d
