#include "physics/SpringPack.h"

#include <algorithm>
#include <cstring>

#include "physics/Relaxator.h"
#include "physics/SpringLaw.h"

namespace vardel::physics {

namespace {

using math::at;
using math::ColumnSums;
using math::Lanes;
using math::load;

// The list walk's laws on packed data, four springs at a time: the factor of each spring's d, and
// the sign of the impulse its A end takes (the B end takes the opposite), which the per-spring law
// then scales by the end's inverse mass.
struct PerSpringLaw {
    Lanes factor(Lanes stretched, Lanes stiffness) const { return -stretched * stiffness * dt; }
    static constexpr float signOfA = 1.0f;
    static constexpr bool weighted = true;

    float dt;
};

struct UniformLaw {
    Lanes factor(Lanes stretched, Lanes) const { return kdt * stretched; }
    static constexpr float signOfA = -1.0f;
    static constexpr bool weighted = false;

    float kdt;
};

} // namespace

SpringPack::SpringPack()
    : built(false), fits(false), firstSpring(nullptr), lastSpring(nullptr), springCount(0), weightElements(nullptr),
      weightCount(0)
{
}

bool SpringPack::prepare(const Relaxator<float, 3>& solver)
{
    if (!matches(solver))
        build(solver);
    return fits;
}

void SpringPack::build(const Relaxator<float, 3>& solver)
{
    const auto count = static_cast<std::uint32_t>(solver.springs.count);
    const std::uint32_t n = solver.weights.count;
    built = true;
    firstSpring = solver.springs.first;
    lastSpring = solver.springs.last();
    springCount = solver.springs.count;
    weightElements = solver.weights.elements;
    weightCount = n;
    // Offsets in bytes are 32 bits: into the weights, and into the ring of two impulses a spring.
    constexpr std::uint64_t offsets = std::uint64_t{1} << 32;
    fits = std::uint64_t{n} * sizeof(Weight<float, 3>) < offsets &&
           (2 * std::uint64_t{count} + 1) * sizeof(Lanes) < offsets;
    if (!fits)
        return;
    const std::uint32_t fours = (count + 3) / 4 * 4;
    endsA.resize(fours);
    endsB.resize(fours);
    for (auto* values : {&restLengths, &stiffnesses}) {
        values->resize(fours);
        std::fill(values->begin() + count, values->end(), 0.0f);
    }
    const Weight<float, 3>* weights = solver.weights.elements;
    std::uint32_t k = 0;
    for (const Spring<float, 3>& spring : solver.springs) {
        endsA[k] = static_cast<std::uint32_t>(spring.weightA - weights);
        endsB[k] = static_cast<std::uint32_t>(spring.weightB - weights);
        restLengths[k] = spring.restLength;
        stiffnesses[k] = spring.stiffness;
        ++k;
    }
    sums.build(n, count, 2, [&](auto add) {
        for (std::uint32_t spring = 0; spring < count; ++spring) {
            add(endsA[spring], spring, 0);
            add(endsB[spring], spring, 1);
        }
    });
    // From here on, where each end's position starts, in bytes from the first weight.
    const Weight<float, 3> probe;
    const auto position = static_cast<std::uint32_t>(reinterpret_cast<const char*>(&probe.position) -
                                                     reinterpret_cast<const char*>(&probe));
    for (std::uint32_t* ends : {endsA.elements, endsB.elements}) {
        for (k = 0; k < count; ++k)
            ends[k] = ends[k] * std::uint32_t{sizeof(Weight<float, 3>)} + position;
        std::fill(ends + count, ends + fours, position);
    }
}

bool SpringPack::matches(const Relaxator<float, 3>& solver) const
{
    return built && firstSpring == solver.springs.first && lastSpring == solver.springs.last() &&
           springCount == solver.springs.count && weightElements == solver.weights.elements &&
           weightCount == solver.weights.count;
}

void SpringPack::applySprings(Relaxator<float, 3>& solver, float dt)
{
    if (solver.uniformStiffness == 0.0f)
        addSprings(solver.weights.elements, PerSpringLaw{dt});
    else
        addSprings(solver.weights.elements, UniformLaw{dt * solver.uniformStiffness});
}

template <typename Law>
void SpringPack::addSprings(Weight<float, 3>* weights, const Law& law)
{
    auto compute = [&](std::uint32_t first, std::uint32_t end, Lanes* out) {
        computeImpulses(law, weights, first, (end + 3) / 4 * 4, out);
    };
    // The last group may have fewer than four weights; the other lanes go to spare.
    math::Vector3<float> spare[4];
    math::Vector3<float>* velocities[4];
    // Per lane, the scale of an impulse, then of padding: 1, so that it stays a negative zero.
    Lanes scales[4][2];
    auto start = [&](std::uint32_t group, Lanes* velocity) {
#pragma GCC unroll 4
        for (std::uint32_t lane = 0; lane < 4; ++lane) {
            std::uint32_t i = 4 * group + lane;
            velocities[lane] = i < weightCount ? &weights[i].velocity : &spare[lane];
            const math::Vector3<float>& v = *velocities[lane];
            velocity[lane] = Lanes{v.x, v.y, v.z, 0.0f};
            if (Law::weighted) {
                float scale = i < weightCount ? inverseMass(weights[i].mass) : 1.0f;
                scales[lane][0] = Lanes{scale, scale, scale, scale};
                scales[lane][1] = Lanes{1.0f, 1.0f, 1.0f, 1.0f};
            }
        }
    };
    const Lanes* impulses = sums.values();
    const std::uint32_t padding = sums.padding();
    auto term = [&](std::uint32_t lane, std::uint32_t entry) {
        const Lanes& value = at(impulses, entry);
        return Law::weighted ? scales[lane][entry == padding] * value : value;
    };
    auto finish = [&](std::uint32_t, const Lanes* velocity) {
#pragma GCC unroll 4
        for (std::uint32_t lane = 0; lane < 4; ++lane)
            velocities[lane]->set(velocity[lane][0], velocity[lane][1], velocity[lane][2]);
    };
    sums.run(compute, start, term, finish);
}

// Springs first to end - 1, whole fours, to out. The four differences are turned into x, y and z
// lanes, so that each operation of the length and the factor serves four springs. Square root and
// division are correctly rounded in every lane, so each impulse has the list walk's bits.
template <typename Law>
void SpringPack::computeImpulses(const Law& law, const Weight<float, 3>* weights, std::uint32_t first,
                                 std::uint32_t end, Lanes* out) const
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(weights);
    // A position is read as four floats, x, y, z and what follows it in the weight; that fourth
    // lane is cleared before any arithmetic, so that whatever it holds costs nothing.
    using Bits = std::uint32_t __attribute__((vector_size(16)));
    const Bits xyz{~0u, ~0u, ~0u, 0u};
    auto position = [&](std::uint32_t offset) {
        Bits lanes;
        std::memcpy(&lanes, bytes + offset, sizeof lanes);
        return reinterpret_cast<Lanes>(lanes & xyz);
    };
    for (std::uint32_t k = first; k < end; k += 4, out += 8) {
        Lanes d[4];
#pragma GCC unroll 4
        for (std::uint32_t i = 0; i < 4; ++i)
            d[i] = position(endsA[k + i]) - position(endsB[k + i]);
        Lanes dx, dy, dz;
        math::transpose(d, dx, dy, dz);
        Lanes len = math::squareRoot(dx * dx + dy * dy + dz * dz);
        // stretch, lane by lane.
        Lanes quotient = (len - load(restLengths.elements + k)) / len;
        Lanes stretched = len > Lanes{} ? quotient : Lanes{};
        Lanes factor = Law::signOfA * law.factor(stretched, load(stiffnesses.elements + k));
#pragma GCC unroll 4
        for (int i = 0; i < 4; ++i) {
            Lanes atA = math::broadcast(factor, i) * d[i];
            out[2 * i] = atA;
            out[2 * i + 1] = -atA;
        }
    }
}

} // namespace vardel::physics
