#include "physics/Wind.h"

#include <cmath>

#include "physics/Relaxator.h"

namespace vardel::physics {

namespace {

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

float dot(const Vector& u, const Vector& v)
{
    return u.x * v.x + u.y * v.y + u.z * v.z;
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
    // for one another.
    if (pushes.count != n)
        pushes.resize(n);
    for (Vector& push : pushes)
        push.setZero();
    const Weight<float, 3>* weights = solver.weights.elements;
    const unsigned int* index = triangles->elements;
    // The area and the normal speed both come from the unnormalised normal n, twice the area long:
    // force = strength * |n| / 2 * (v . n / |n|) * n / |n| = strength / 2 * (v . n) / |n| * n.
    const float share = strength * 0.5f * dt / 3.0f;
    const float third = 1.0f / 3.0f;
    const std::uint32_t indexCount = triangles->count;
    for (std::uint32_t t = 0; t + 2 < indexCount; t += 3) {
        const Weight<float, 3>& a = weights[index[t]];
        const Weight<float, 3>& b = weights[index[t + 1]];
        const Weight<float, 3>& c = weights[index[t + 2]];
        Vector normal =
            Vector::cross(Vector::difference(b.position, a.position), Vector::difference(c.position, a.position));
        float twiceArea = normal.length();
        if (twiceArea == 0.0f)
            continue;
        Vector moving = motion(a);
        moving.add(motion(b));
        moving.add(motion(c));
        Vector relative(air.x - third * moving.x, air.y - third * moving.y, air.z - third * moving.z);
        float normalSpeed = dot(relative, normal);
        Vector push = Vector::scaled(share * normalSpeed / twiceArea, normal);
        pushes[index[t]].add(push);
        pushes[index[t + 1]].add(push);
        pushes[index[t + 2]].add(push);
    }
    // A pinned weight is never pushed; one of mass 0 takes nothing, as from a spring; the usual mass
    // of 1 needs no division.
    for (std::uint32_t i = 0; i < n; ++i) {
        Weight<float, 3>& weight = solver.weights[i];
        if (weight.pinned || weight.mass == 0.0f)
            continue;
        weight.velocity.add(weight.mass == 1.0f ? pushes[i] : Vector::scaled(1.0f / weight.mass, pushes[i]));
    }
}

} // namespace vardel::physics
