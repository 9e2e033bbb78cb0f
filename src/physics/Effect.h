#pragma once

#include "object/Object.h"
#include "physics/Forward.h"
#include "types/String.h"

namespace vardel::physics {

// Something that acts on a solver's weights around each of its steps, once attached to it: outer
// forces before the springs act, constraints on positions and velocities after the weights moved.
// The hooks do nothing unless overridden.
class Effect : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Effect)

    // When attached to a solver, which may be a new one at the address of one that has gone.
    virtual void attached(Relaxator<float, 3>& solver);
    // Before the spring pass: velocity changes that the step then damps and integrates.
    virtual void beforeStep(Relaxator<float, 3>& solver, float dt);
    // After every free weight has moved.
    virtual void afterStep(Relaxator<float, 3>& solver, float dt);
};

} // namespace vardel::physics
