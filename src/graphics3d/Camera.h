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

    float zNear;
    float zFar;
    float left;
    float bottom;
    float width;
    float height;
    math::Matrix4 transform;
};

} // namespace vardel::graphics3d
