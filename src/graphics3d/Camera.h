#pragma once

#include "graphics3d/Resource.h"
#include "math/Matrix4.h"

namespace vardel::graphics3d {

// A perspective camera: a view window on the near plane, the clipping distances and a transform
// applied after the frustum. Field changes take effect at the next apply().
class Camera : public Resource {
    VARDEL_CLASS_PATH(Resource, Camera)

    // A symmetric 90-degree view from 10 to 100 units, identity transform.
    Camera();

    // Loads projection() into OpenGL's projection matrix; the matrix mode is left as it was.
    virtual void apply();
    // transform x frustum, row by row.
    math::Matrix4 projection() const;

    // Distance from the eye to the near clipping plane, where the view window lies.
    float zNear;
    // Distance from the eye to the far clipping plane.
    float zFar;
    // The left edge of the view window on the near plane.
    float left;
    // The bottom edge of the view window on the near plane.
    float bottom;
    // The width of the view window.
    float width;
    // The height of the view window.
    float height;
    // Applied after the frustum, row by row.
    math::Matrix4 transform;
};

} // namespace vardel::graphics3d
