#include "physics/SpringPack.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "physics/Lanes.h"
#include "physics/Relaxator.h"
#include "physics/SpringLaw.h"

namespace vardel::physics {

namespace {

// The list walk's laws on packed data: the factor of d, and the impulses on the ends from f.
struct PerSpringLaw {
    float factor(float stretched, float stiffness) const { return -stretched * stiffness * dt; }
    static Lanes impulseOnA(Lanes f, const float* inverseMasses, std::uint32_t a) { return inverseMasses[a] * f; }
    static Lanes impulseOnB(Lanes f, const float* inverseMasses, std::uint32_t b) { return -inverseMasses[b] * f; }

    float dt;
};

struct UniformLaw {
    float factor(float stretched, float) const { return kdt * stretched; }
    static Lanes impulseOnA(Lanes f, const float*, std::uint32_t) { return -1.0f * f; }
    static Lanes impulseOnB(Lanes f, const float*, std::uint32_t) { return f; }

    float kdt;
};

} // namespace

SpringPack::SpringPack()
    : built(false), firstSpring(nullptr), lastSpring(nullptr), springCount(0), weightElements(nullptr), weightCount(0)
{
}

void SpringPack::build(const Relaxator<float, 3>& solver)
{
    auto count = static_cast<std::uint32_t>(solver.springs.count);
    endsA.resize(count);
    endsB.resize(count);
    restLengths.resize(count);
    stiffnesses.resize(count);
    positions.resize(4 * solver.weights.count);
    inverseMasses.resize(solver.weights.count);
    const Weight<float, 3>* weights = solver.weights.elements;
    std::uint32_t k = 0;
    for (const Spring<float, 3>& spring : solver.springs) {
        endsA[k] = static_cast<std::uint32_t>(spring.weightA - weights);
        endsB[k] = static_cast<std::uint32_t>(spring.weightB - weights);
        restLengths[k] = spring.restLength;
        stiffnesses[k] = spring.stiffness;
        ++k;
    }
    built = true;
    firstSpring = solver.springs.first;
    lastSpring = solver.springs.last();
    springCount = solver.springs.count;
    weightElements = solver.weights.elements;
    weightCount = solver.weights.count;
}

bool SpringPack::matches(const Relaxator<float, 3>& solver) const
{
    return built && firstSpring == solver.springs.first && lastSpring == solver.springs.last() &&
           springCount == solver.springs.count && weightElements == solver.weights.elements &&
           weightCount == solver.weights.count;
}

void SpringPack::applySprings(Relaxator<float, 3>& solver, float dt)
{
    Weight<float, 3>* weights = solver.weights.elements;
    const std::uint32_t n = solver.weights.count;
    bool perSpring = solver.uniformStiffness == 0.0f;
    for (std::uint32_t i = 0; i < n; ++i) {
        const Weight<float, 3>& weight = weights[i];
        store(&positions[4 * i], Lanes{weight.position.x, weight.position.y, weight.position.z, 0.0f});
        if (perSpring)
            inverseMasses[i] = inverseMass(weight.mass);
    }
    if (perSpring)
        addImpulses(weights, PerSpringLaw{dt});
    else
        addImpulses(weights, UniformLaw{dt * solver.uniformStiffness});
}

// Chunk by chunk, so that the factors stay in the first-level cache between the two loops.
template <typename Law>
void SpringPack::addImpulses(Weight<float, 3>* weights, const Law& law)
{
    constexpr std::uint32_t chunk = 256;
    // Per spring of the chunk: the difference of its ends' positions, then its factor.
    Lanes differences[chunk];
    float factors[chunk];
    const std::uint32_t count = restLengths.count;
    const std::uint32_t* endA = endsA.elements;
    const std::uint32_t* endB = endsB.elements;
    const float* rest = restLengths.elements;
    const float* stiffness = stiffnesses.elements;
    const float* p = positions.elements;
    const float* inverse = inverseMasses.elements;
    Weight<float, 3>* run = nullptr;
    Lanes runVelocity{0.0f, 0.0f, 0.0f, 0.0f};
    for (std::uint32_t first = 0; first < count; first += chunk) {
        const std::uint32_t size = std::min(chunk, count - first);
        for (std::uint32_t k = 0; k < size; ++k)
            differences[k] = load(p + 4 * endA[first + k]) - load(p + 4 * endB[first + k]);
        // No spring depends on another here, so this loop runs several springs per instruction;
        // square root and division are correctly rounded in every lane, so each factor has the
        // list walk's bits.
        const float* d = reinterpret_cast<const float*>(differences);
#pragma omp simd
        for (std::uint32_t k = 0; k < size; ++k) {
            float dx = d[4 * k];
            float dy = d[4 * k + 1];
            float dz = d[4 * k + 2];
            float len = std::sqrt(dx * dx + dy * dy + dz * dz);
            factors[k] = law.factor(stretch(len, rest[first + k]), stiffness[first + k]);
        }
        // In list order, as the list walk adds them; the run of springs that share weight A keeps
        // its velocity in a register, as there.
        for (std::uint32_t k = 0; k < size; ++k) {
            std::uint32_t a = endA[first + k];
            std::uint32_t b = endB[first + k];
            Lanes f = factors[k] * differences[k];
            Weight<float, 3>* weightA = weights + a;
            if (weightA != run) {
                if (run)
                    run->velocity.set(runVelocity[0], runVelocity[1], runVelocity[2]);
                run = weightA;
                runVelocity = Lanes{weightA->velocity.x, weightA->velocity.y, weightA->velocity.z, 0.0f};
            }
            runVelocity += Law::impulseOnA(f, inverse, a);
            // Only a spring from a weight to itself ends at the run's weight.
            Lanes onB = Law::impulseOnB(f, inverse, b);
            if (b == a) {
                runVelocity += onB;
            } else {
                math::Vector3<float>& v = weights[b].velocity;
                v.set(v.x + onB[0], v.y + onB[1], v.z + onB[2]);
            }
        }
    }
    if (run)
        run->velocity.set(runVelocity[0], runVelocity[1], runVelocity[2]);
}

} // namespace vardel::physics
