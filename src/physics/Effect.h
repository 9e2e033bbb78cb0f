#pragma once

#include "object/Object.h"
#include "physics/Forward.h"
#include "types/String.h"

namespace vardel::physics {

// Something that acts on a solver's weights around each of its steps, once attached to it: outer
// forces before the springs act, constraints on positions and velocities after the weights moved.
// Both hooks do nothing unless overridden.
class Effect : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Effect)

    // Before the spring pass: velocity changes that the step then damps and integrates.
    virtual void beforeStep(Relaxator<float, 3>& solver, float dt);
    // After every free weight has moved.
    virtual void afterStep(Relaxator<float, 3>& solver, float dt);
};

} // namespace vardel::physics
