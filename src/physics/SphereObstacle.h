#pragma once

#include "math/Vector3.h"
#include "physics/Effect.h"

namespace vardel::physics {

// A solid ball the weights cannot enter. A free weight that ends a step inside it is put back on
// its surface, loses the part of its velocity that points into it and, rubbing along the surface,
// a share of the rest.
class SphereObstacle : public Effect {
    VARDEL_CLASS_PATH(Effect, SphereObstacle)

    // A ball of radius around centre, with a little friction.
    SphereObstacle(const math::Vector3<float>& centre, float radius);

    void afterStep(Relaxator<float, 3>& solver, float dt) override;

    // The middle of the ball.
    math::Vector3<float> centre;
    // The radius of the ball.
    float radius;
    // The share of the velocity along the surface that a touching weight loses per step.
    float friction;
};

} // namespace vardel::physics
