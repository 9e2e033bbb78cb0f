#include "graphics3d/Camera.h"

#include "platform/OpenGL.h"
#include "graphics3d/MatrixStack.h"

namespace vardel::graphics3d {

Camera::Camera() : zNear(10.0f), zFar(100.0f), left(-10.0f), bottom(-10.0f), width(20.0f), height(20.0f)
{
    transform.setIdentity();
}

math::Matrix4 Camera::projection() const
{
    const float n = zNear, f = zFar, l = left, b = bottom, w = width, h = height;
    // Row by row: the matrix of glFrustum(l, l + w, b, b + h, n, f).
    const math::Matrix4 frustum{{
        2 * n / w, 0, (2 * l + w) / w, 0,
        0, 2 * n / h, (2 * b + h) / h, 0,
        0, 0, -(f + n) / (f - n), -2 * f * n / (f - n),
        0, 0, -1, 0,
    }};
    return math::Matrix4::product(transform, frustum);
}

void Camera::apply()
{
    math::Matrix4 projection = this->projection();
    GLint savedMode;
    glGetIntegerv(GL_MATRIX_MODE, &savedMode);
    glMatrixMode(GL_PROJECTION);
    MatrixStack::loadRows(projection.m);
    glMatrixMode(savedMode);
}

} // namespace vardel::graphics3d
