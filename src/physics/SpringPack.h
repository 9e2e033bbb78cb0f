#pragma once

#include <cstdint>

#include "container/Array.h"
#include "math/ColumnSums.h"
#include "math/Lanes.h"
#include "physics/Forward.h"

namespace vardel::physics {

// A solver's springs copied in list order into contiguous arrays (their ends, rest lengths,
// stiffnesses), and the step's spring pass over that copy. The pass computes the springs' impulses
// four at a time; then each weight adds the impulses of its springs in list order, as the list walk
// adds them, so its velocity comes out bit for bit as there. It reads no spring and records no
// length or force.
class SpringPack {
public:
    SpringPack();

    // True when the copy can step the solver, after copying its springs if they changed. The copy
    // addresses weights and impulses with 32-bit offsets: a solver of 59 million weights or 134
    // million springs needs the list walk.
    bool prepare(const Relaxator<float, 3>& solver);
    // Copies the solver's springs and notes the list and weight array they came from.
    void build(const Relaxator<float, 3>& solver);
    // False once invalidate ran or the solver's spring list or weight array is no longer the one
    // copied.
    bool matches(const Relaxator<float, 3>& solver) const;
    // Marks the copy out of date, so that the next step copies the springs again.
    void invalidate() { built = false; }

    // Adds every spring's impulse to its ends' velocities under the solver's force law.
    void applySprings(Relaxator<float, 3>& solver, float dt);

private:
    template <typename Law>
    void addSprings(Weight<float, 3>* weights, const Law& law);
    template <typename Law>
    void computeImpulses(const Law& law, const Weight<float, 3>* weights, std::uint32_t first, std::uint32_t end,
                         math::Lanes* out) const;

    // Per spring, where its weightA's and weightB's positions are, in bytes from the first weight.
    // Whole fours: the last ones are springs of zero length from weight 0 to itself, whose impulses
    // no weight adds.
    container::Array<std::uint32_t> endsA;
    container::Array<std::uint32_t> endsB;
    container::Array<float> restLengths;
    container::Array<float> stiffnesses;
    // Per weight, the impulses on it: two values per spring, on its A end, then on its B end,
    // before the ends' inverse masses under the per-spring law.
    math::ColumnSums sums;

    // What the copy was made from, and whether it could be made.
    bool built;
    bool fits;
    const void* firstSpring;
    const void* lastSpring;
    std::int32_t springCount;
    const void* weightElements;
    std::uint32_t weightCount;
};

} // namespace vardel::physics
