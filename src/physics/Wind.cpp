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
      time(0.0f), laidOutWeights(0), padding(0)
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
    if (n != laidOutWeights || triangles->count / 3 * 3 != laidOut.count - padding ||
        !std::equal(triangles->begin(), triangles->begin() + (laidOut.count - padding), laidOut.begin()))
        layOut(n);
    // Positions and motions are gathered once, side by side, so that a triangle reads each corner
    // in one cache line.
    corners.resize(8 * n);
    const Weight<float, 3>* weights = solver.weights.elements;
    for (std::uint32_t i = 0; i < n; ++i) {
        const Weight<float, 3>& weight = weights[i];
        Vector moving = motion(weight);
        store(&corners[8 * i], Lanes{weight.position.x, weight.position.y, weight.position.z, 0.0f});
        store(&corners[8 * i + 4], Lanes{moving.x, moving.y, moving.z, 0.0f});
    }

    // Every triangle feels the air as the weights moved at the start of the step, four triangles
    // at a time, with the operations of one triangle in each lane. The area and the normal speed
    // both come from the unnormalised normal n, twice the area long: force = strength * |n| / 2 *
    // (v . n / |n|) * n / |n| = strength / 2 * (v . n) / |n| * n. A triangle of no area pushes
    // nothing.
    const float share = strength * 0.5f * dt / 3.0f;
    const float third = 1.0f / 3.0f;
    const Lanes airLanes{air.x, air.y, air.z, 0.0f};
    const float* p = corners.elements;
    const float* m = corners.elements + 4;
    auto pushes = [&](std::uint32_t first, std::uint32_t end, Lanes* out) {
        for (std::uint32_t t = first; t < end; t += 4, out += 4) {
            Lanes normal[4];
            Lanes relative[4];
#pragma GCC unroll 4
            for (std::uint32_t i = 0; i < 4; ++i) {
                const std::uint32_t* corner = &laidOut[3 * (t + i)];
                const std::uint32_t a = 8 * corner[0], b = 8 * corner[1], c = 8 * corner[2];
                Lanes pa = load(p + a);
                normal[i] = cross(load(p + b) - pa, load(p + c) - pa);
                relative[i] = airLanes - third * (load(m + a) + load(m + b) + load(m + c));
            }
            Lanes nx, ny, nz, rx, ry, rz;
            math::transpose(normal, nx, ny, nz);
            math::transpose(relative, rx, ry, rz);
            Lanes twiceArea = math::squareRoot(nx * nx + ny * ny + nz * nz);
            Lanes normalSpeed = rx * nx + ry * ny + rz * nz;
            Lanes scale = twiceArea == Lanes{} ? Lanes{} : share * normalSpeed / twiceArea;
#pragma GCC unroll 4
            for (int i = 0; i < 4; ++i)
                out[i] = math::broadcast(scale, i) * normal[i];
        }
    };
    // A pinned weight is never pushed; one of mass 0 takes nothing, as from a spring; the usual mass
    // of 1 needs no division.
    auto give = [&](std::uint32_t group, const Lanes* push) {
#pragma GCC unroll 4
        for (std::uint32_t lane = 0; lane < 4; ++lane) {
            if (4 * group + lane >= n)
                break;
            Weight<float, 3>& weight = solver.weights[4 * group + lane];
            if (weight.pinned || weight.mass == 0.0f)
                continue;
            Vector sum(push[lane][0], push[lane][1], push[lane][2]);
            weight.velocity.add(weight.mass == 1.0f ? sum : Vector::scaled(1.0f / weight.mass, sum));
        }
    };
    sums.run(pushes, give);
}

void Wind::layOut(std::uint32_t weightCount)
{
    const std::uint32_t count = triangles->count / 3;
    padding = (count + 3) / 4 * 4 * 3 - 3 * count;
    laidOut.resize(3 * count + padding);
    std::copy(triangles->begin(), triangles->begin() + 3 * count, laidOut.begin());
    std::fill(laidOut.end() - padding, laidOut.end(), 0u);
    laidOutWeights = weightCount;
    // Triangles that name a weight the solver does not have make the wind blow on nothing, rather
    // than on memory past the weights.
    bool named = std::all_of(laidOut.begin(), laidOut.end(), [&](std::uint32_t i) { return i < weightCount; });
    const std::uint32_t blown = named ? count : 0;
    sums.build(weightCount, blown, 1, [&](auto add) {
        for (std::uint32_t t = 0; t < blown; ++t)
            for (std::uint32_t corner = 0; corner < 3; ++corner)
                add(laidOut[3 * t + corner], t, 0);
    });
}

} // namespace vardel::physics
