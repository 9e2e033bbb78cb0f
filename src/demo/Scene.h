#pragma once

#include "physics/Forward.h"
#include "graphics3d/Forward.h"

namespace vardel::demo {

// What the cloth view shows: set up when the view opens, drawn on every paint.
struct Scene {
    graphics3d::Camera* camera = nullptr;
    graphics3d::Mode* mode = nullptr;
    graphics3d::PointLight* light = nullptr;
    graphics3d::SpringModel* cloth = nullptr;
    // Held by the cloth, not counted here.
    physics::Relaxator<float, 3>* clothSolver = nullptr;
    graphics3d::ParameterBuffer* clothParameters = nullptr;
    // The weights pinned when the cloth is made: its four corners.
    unsigned clothCorners[4] = {};
};

// The one scene of the process.
extern Scene scene;

} // namespace vardel::demo
