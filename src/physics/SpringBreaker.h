#pragma once

#include <cstdint>

#include "container/Array.h"
#include "physics/Effect.h"

namespace vardel::physics {

// Tears a cloth: after each step, every spring that the step found stretched beyond ratio times
// its rest length leaves the solver for good. The two weights of each broken spring are noted,
// so that whoever draws the cloth can drop what hung on it.
class SpringBreaker : public Effect {
    VARDEL_CLASS_PATH(Effect, SpringBreaker)

    // Breaks at twice the rest length.
    SpringBreaker();

    // Judges each spring by the length the step measured in its spring pass.
    void afterStep(Relaxator<float, 3>& solver, float dt) override;

    float ratio;
    // Weight indices, two per spring broken since the caller last emptied it.
    container::Array<std::uint32_t> brokenEnds;
};

} // namespace vardel::physics
