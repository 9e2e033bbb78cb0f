#include "physics/Wind.h"

#include <algorithm>
#include <cmath>

#include "math/Lanes.h"
#include "physics/Relaxator.h"

namespace vardel::physics {

namespace {

using math::Lanes;
using math::cross;
using math::load;
using math::store;

using Vector = math::Vector3<float>;

// A value in [-1, 1] for each whole number of gust periods, the same for the same seed everywhere
// (a fixed integer mix, not the standard library's distributions).
float knot(std::uint64_t seed, std::int64_t n)
{
    std::uint64_t z = seed + static_cast<std::uint64_t>(n) * 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<float>(z >> 40) / static_cast<float>(1 << 23) - 1.0f;
}

// Eases from one knot to the next with zero slope at both, so the speed never jumps.
float gust(std::uint64_t seed, float periods)
{
    float whole = std::floor(periods);
    float t = periods - whole;
    auto n = static_cast<std::int64_t>(whole);
    float ease = t * t * (3.0f - 2.0f * t);
    float from = knot(seed, n);
    return from + (knot(seed, n + 1) - from) * ease;
}

// A pinned weight stands still, whatever its springs have piled up in its velocity.
Vector motion(const Weight<float, 3>& weight)
{
    return weight.pinned ? Vector(0, 0, 0) : weight.velocity;
}

} // namespace

Wind::Wind()
    : triangles(nullptr), direction(1, 0, 0), speed(0.0f), strength(0.0f), gustiness(0.0f), gustPeriod(1.0f), seed(0),
      time(0.0f)
{
}

Vector Wind::airVelocity(float at) const
{
    float gusts = gustPeriod > 0.0f ? gust(seed, at / gustPeriod) : 0.0f;
    return Vector::scaled(speed * (1.0f + gustiness * gusts), direction);
}

void Wind::beforeStep(Relaxator<float, 3>& solver, float dt)
{
    Vector air = airVelocity(time);
    time += dt;
    if (!triangles)
        return;
    const std::uint32_t n = solver.weights.count;
    // Every triangle feels the air as the weights move at the start of the step: the pushes are
    // summed apart and given at the end, so they neither depend on the triangles' order nor wait
    // for one another. Positions and motions are gathered once, four floats a weight, so that a
    // triangle reads each corner in one load instead of walking three weight records.
    if (pushes.count != 4 * n) {
        pushes.resize(4 * n);
        corners.resize(8 * n);
    }
    std::fill(pushes.begin(), pushes.end(), 0.0f);
    const Weight<float, 3>* weights = solver.weights.elements;
    for (std::uint32_t i = 0; i < n; ++i) {
        const Weight<float, 3>& weight = weights[i];
        Vector moving = motion(weight);
        store(&corners[8 * i], Lanes{weight.position.x, weight.position.y, weight.position.z, 0.0f});
        store(&corners[8 * i + 4], Lanes{moving.x, moving.y, moving.z, 0.0f});
    }
    const unsigned int* index = triangles->elements;
    // The area and the normal speed both come from the unnormalised normal n, twice the area long:
    // force = strength * |n| / 2 * (v . n / |n|) * n / |n| = strength / 2 * (v . n) / |n| * n.
    const float share = strength * 0.5f * dt / 3.0f;
    const float third = 1.0f / 3.0f;
    const Lanes airLanes{air.x, air.y, air.z, 0.0f};
    const float* p = corners.elements;
    const float* m = corners.elements + 4;
    float* pushed = pushes.elements;
    const std::uint32_t indexCount = triangles->count;
    for (std::uint32_t t = 0; t + 2 < indexCount; t += 3) {
        const std::uint32_t a = 8 * index[t];
        const std::uint32_t b = 8 * index[t + 1];
        const std::uint32_t c = 8 * index[t + 2];
        Lanes pa = load(p + a);
        Lanes normal = cross(load(p + b) - pa, load(p + c) - pa);
        // Summed as Vector::length and the dot product below sum: x, then y, then z.
        Lanes squares = normal * normal;
        float twiceArea = std::sqrt(squares[0] + squares[1] + squares[2]);
        if (twiceArea == 0.0f)
            continue;
        Lanes moving = load(m + a) + load(m + b) + load(m + c);
        Lanes relative = airLanes - third * moving;
        Lanes along = relative * normal;
        float normalSpeed = along[0] + along[1] + along[2];
        Lanes push = (share * normalSpeed / twiceArea) * normal;
        float* onA = pushed + a / 2;
        float* onB = pushed + b / 2;
        float* onC = pushed + c / 2;
        store(onA, load(onA) + push);
        store(onB, load(onB) + push);
        store(onC, load(onC) + push);
    }
    // A pinned weight is never pushed; one of mass 0 takes nothing, as from a spring; the usual mass
    // of 1 needs no division.
    for (std::uint32_t i = 0; i < n; ++i) {
        Weight<float, 3>& weight = solver.weights[i];
        if (weight.pinned || weight.mass == 0.0f)
            continue;
        Vector push(pushed[4 * i], pushed[4 * i + 1], pushed[4 * i + 2]);
        weight.velocity.add(weight.mass == 1.0f ? push : Vector::scaled(1.0f / weight.mass, push));
    }
}

} // namespace vardel::physics
