#pragma once

#include "math/Vector3.h"
#include "physics/Effect.h"

namespace vardel::physics {

// Holds one weight of a solver at a target that the caller moves, as a hand would: each step puts
// the weight at the target before the springs act, so that they pull its neighbours after it,
// and gives it the velocity of that motion. Let go, the weight flies on with that velocity.
class Grab : public Effect {
    VARDEL_CLASS_PATH(Effect, Grab)

    Grab();

    // Takes hold of weight index of the solver (letting go of any other) with the target at the
    // weight's position. The solver does not move the weight while it is held.
    void hold(Relaxator<float, 3>& solver, unsigned index);
    // Where the held weight will be after the next step.
    void moveTo(const math::Vector3<float>& point);
    // Gives the weight back to the solver with the velocity of its last move; a weight that was
    // pinned when taken stays pinned, at rest.
    void release(Relaxator<float, 3>& solver);
    // Forgets the weight without touching the solver: for a solver that has gone.
    void forget();

    void beforeStep(Relaxator<float, 3>& solver, float dt) override;
    void afterStep(Relaxator<float, 3>& solver, float dt) override;

    // Whether a weight is held.
    bool holding;
    // The held weight's index in the solver.
    unsigned index;
    // Where the held weight is put at the next step.
    math::Vector3<float> target;

private:
    bool wasPinned;
    math::Vector3<float> motion;
};

} // namespace vardel::physics
