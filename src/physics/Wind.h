#pragma once

#include <cstdint>

#include "container/Array.h"
#include "math/ColumnSums.h"
#include "math/Vector3.h"
#include "physics/Effect.h"

namespace vardel::physics {

// Air blowing on the triangles of a cloth. Each triangle feels a force along its normal,
// proportional to its area and to the air's velocity relative to it along that normal, shared
// equally among its three weights; a triangle edge-on to the air feels nothing. The air blows in a
// steady direction at a speed that gusts smoothly over time, the same way for the same seed.
class Wind : public Effect {
    VARDEL_CLASS_PATH(Effect, Wind)

    // No triangles: blows on nothing until given some.
    Wind();

    // The air's velocity time units after the wind started.
    math::Vector3<float> airVelocity(float time) const;

    // Pushes every free weight of a triangle, as an impulse over dt, then lets the time run on.
    // Allocates only on the first step and when the weight count changes.
    void beforeStep(Relaxator<float, 3>& solver, float dt) override;

    // Weight indices, three per triangle, of the solver the wind is attached to; read at every
    // step, so triangles taken out of it no longer catch the wind. While any names a weight the
    // solver does not have, the wind blows on nothing. Not owned.
    const container::Array<unsigned int>* triangles;
    // Unit length.
    math::Vector3<float> direction;
    // The mean speed of the air.
    float speed;
    // Force per unit of area and of relative normal speed.
    float strength;
    // How far the speed strays from its mean, as a share of it: the speed stays within
    // speed * (1 +- gustiness).
    float gustiness;
    // Time units between one gust's peak and the next value the speed heads for.
    float gustPeriod;
    // Chooses the sequence of gusts: the same seed blows the same wind.
    std::uint64_t seed;
    // Time units since the wind started.
    float time;

private:
    // Copies the triangles and lays out each weight's pushes, for weightCount weights.
    void layOut(std::uint32_t weightCount);

    // Eight floats a weight: its position and its motion as the step began, each as x, y, z and
    // an unused fourth, side by side so that a triangle finds both of a corner in one cache line.
    container::Array<float> corners;
    // The triangles as of the last layOut, then padding of triangles of no area to whole fours.
    container::Array<std::uint32_t> laidOut;
    std::uint32_t laidOutWeights;
    std::uint32_t padding;
    // Per weight, the pushes of its triangles, summed in the triangles' order.
    math::ColumnSums sums;
};

} // namespace vardel::physics
