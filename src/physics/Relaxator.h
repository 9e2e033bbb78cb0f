#pragma once

#include "container/Array.h"
#include "container/List.h"
#include "math/Vector3.h"
#include "object/Object.h"
#include "physics/Forward.h"
#include "physics/Spring.h"
#include "physics/Weight.h"
#include "types/String.h"

namespace vardel::physics {

// Owns a set of weights and the springs between them and advances them in time. A step changes
// velocities only; the caller's integration function moves each free weight.
template <>
class Relaxator<float, 3> : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Relaxator)

    // Moves one weight by its velocity; given the weight and the step's time increment.
    using WeightCallback = void (*)(Weight<float, 3>* weight, const float* dt);

    Relaxator();

    // Building
    // Starts over with count fresh weights and no springs.
    void setWeightCount(unsigned count);
    // Indices are not checked: both must be below the weight count.
    void addSpring(unsigned a, unsigned b, float stiffness);
    // Makes the current positions the rest state and stops every weight.
    void captureRest();

    // Simulation
    // Adds every spring's impulse to its ends, then damps, accelerates and integrates each free
    // weight. Allocates nothing.
    void step(WeightCallback integrate, float dt);

    math::Vector3<float> gravity;
    // Springs point into this storage: only setWeightCount resizes it, after dropping the springs.
    container::Array<Weight<float, 3>> weights;
    container::List<Spring<float, 3>> springs;
    // Exactly 0 selects each spring's own stiffness and the weights' masses; anything else is the
    // constant of one law for all springs, regardless of mass.
    float uniformStiffness;
    // Exponential damping rate of the velocities, per time unit.
    float damping;
};

} // namespace vardel::physics
