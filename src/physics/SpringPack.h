#pragma once

#include <cstdint>

#include "container/Array.h"
#include "physics/Forward.h"

namespace vardel::physics {

// A solver's springs copied in list order into contiguous arrays (the indices of their ends, rest
// lengths, stiffnesses), and the step's spring pass over that copy. The pass gathers the weights'
// positions once, computes the springs' factors in a vectorised loop and adds the impulses to the
// velocities in list order, so the velocities come out bit for bit as the list walk's. It reads
// no spring and records no length or force.
class SpringPack {
public:
    SpringPack();

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
    void addImpulses(Weight<float, 3>* weights, const Law& law);

    // The indices of each spring's weightA and weightB.
    container::Array<std::uint32_t> endsA;
    container::Array<std::uint32_t> endsB;
    container::Array<float> restLengths;
    container::Array<float> stiffnesses;
    // Four floats per weight (x, y, z, unused), so that each position is one vector load.
    container::Array<float> positions;
    // Per weight, under the per-spring law only.
    container::Array<float> inverseMasses;

    // What the copy was made from.
    bool built;
    const void* firstSpring;
    const void* lastSpring;
    std::int32_t springCount;
    const void* weightElements;
    std::uint32_t weightCount;
};

} // namespace vardel::physics
