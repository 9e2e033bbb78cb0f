#pragma once

#include <cstdint>

#include "container/Array.h"
#include "physics/Effect.h"

namespace vardel::physics {

// Tears a cloth: after each step, every spring stretched beyond ratio times its rest length
// leaves the solver for good. The two weights of each broken spring are noted, so that whoever
// draws the cloth can drop what hung on it.
class SpringBreaker : public Effect {
    VARDEL_CLASS_PATH(Effect, SpringBreaker)

    // Breaks at twice the rest length.
    SpringBreaker();

    // Copies the springs afresh at the next step.
    void attached(Relaxator<float, 3>& solver) override;
    // Measures every spring as the step left its ends.
    void afterStep(Relaxator<float, 3>& solver, float dt) override;

    // A spring longer than ratio times its rest length breaks.
    float ratio;
    // Weight indices, two per spring broken since the caller last emptied it.
    container::Array<std::uint32_t> brokenEnds;

private:
    // A spring of the solver as last seen: its ends' indices and its breaking length, squared and
    // as it is.
    struct Watched {
        std::uint32_t a;
        std::uint32_t b;
        float limitSquared;
        float limit;
    };

    // Copies the solver's springs into watched, where they are measured without walking the list.
    void watch(const Relaxator<float, 3>& solver);
    bool watching(const Relaxator<float, 3>& solver) const;

    container::Array<Watched> watched;
    // The weights' positions as the step left them and as the springs were last measured, four
    // floats a weight (x, y, z, unused).
    container::Array<float> positions;
    container::Array<float> measuredPositions;
    // What watched was copied from, to notice a change of solver, springs or ratio.
    const Relaxator<float, 3>* watchedSolver;
    const void* watchedFirst;
    std::int32_t watchedCount;
    float watchedRatio;
    // Whether measuredPositions and slack hold for the springs watched: the least any spring was
    // short of its breaking length then.
    bool measured;
    float slack;
};

} // namespace vardel::physics
