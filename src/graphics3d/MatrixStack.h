#pragma once

#include "object/Object.h"
#include "platform/OpenGL.h"
#include "types/String.h"

namespace vardel::graphics3d {

// The matrix mode last set in OpenGL. Code that switches the mode only for a moment saves and
// restores it with glGetIntegerv(GL_MATRIX_MODE) instead, so that the record stays true.
class MatrixStack : public object::Object {
    VARDEL_CLASS_PATH(object::Object, MatrixStack)

    MatrixStack();

    // Calls glMatrixMode unless the mode is the one recorded.
    void setMode(GLenum mode);
    // Replaces OpenGL's current matrix with one of 16 floats stored row by row, transposing it by
    // hand when the driver lacks glLoadTransposeMatrixfARB.
    static void loadRows(const float* rows);

    // 0 until the first setMode.
    GLenum mode;
};

} // namespace vardel::graphics3d
