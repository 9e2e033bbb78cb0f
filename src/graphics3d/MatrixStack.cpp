#include "graphics3d/MatrixStack.h"

#include "graphics3d/Extensions.h"

namespace vardel::graphics3d {

MatrixStack::MatrixStack() : mode(0) {}

void MatrixStack::setMode(GLenum newMode)
{
    if (newMode == mode)
        return;
    glMatrixMode(newMode);
    mode = newMode;
}

void MatrixStack::loadRows(const float* rows)
{
    if (glLoadTransposeMatrixfARB) {
        glLoadTransposeMatrixfARB(rows);
        return;
    }
    // OpenGL's own layout is column by column.
    float columns[16];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c)
            columns[4 * c + r] = rows[4 * r + c];
    }
    glLoadMatrixf(columns);
}

} // namespace vardel::graphics3d
