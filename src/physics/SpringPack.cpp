#include "physics/SpringPack.h"

#include <algorithm>

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
    : built(false), firstSpring(nullptr), lastSpring(nullptr), springCount(0), weightElements(nullptr), weightCount(0)
{
}

void SpringPack::build(const Relaxator<float, 3>& solver)
{
    const auto count = static_cast<std::uint32_t>(solver.springs.count);
    const std::uint32_t n = solver.weights.count;
    const std::uint32_t fours = (count + 3) / 4 * 4;
    for (auto* ends : {&endsA, &endsB}) {
        ends->resize(fours);
        std::fill(ends->begin() + count, ends->end(), 0u);
    }
    for (auto* values : {&restLengths, &stiffnesses}) {
        values->resize(fours);
        std::fill(values->begin() + count, values->end(), 0.0f);
    }
    positions.resize(n);
    inverseMasses.resize(n);
    std::fill(inverseMasses.begin(), inverseMasses.end(), 0.0f);
    chunkReach.resize((count + ColumnSums::chunk - 1) / ColumnSums::chunk);
    const Weight<float, 3>* weights = solver.weights.elements;
    std::uint32_t k = 0;
    std::uint32_t reach = 0;
    for (const Spring<float, 3>& spring : solver.springs) {
        auto a = static_cast<std::uint32_t>(spring.weightA - weights);
        auto b = static_cast<std::uint32_t>(spring.weightB - weights);
        endsA[k] = a * std::uint32_t{sizeof(Lanes)};
        endsB[k] = b * std::uint32_t{sizeof(Lanes)};
        restLengths[k] = spring.restLength;
        stiffnesses[k] = spring.stiffness;
        reach = std::max({reach, a + 1, b + 1});
        chunkReach[k / ColumnSums::chunk] = reach;
        ++k;
    }
    sums.build(n, count, 2, [&](auto add) {
        for (std::uint32_t spring = 0; spring < count; ++spring) {
            add(endsA[spring] / std::uint32_t{sizeof(Lanes)}, spring, 0);
            add(endsB[spring] / std::uint32_t{sizeof(Lanes)}, spring, 1);
        }
    });
    built = true;
    firstSpring = solver.springs.first;
    lastSpring = solver.springs.last();
    springCount = solver.springs.count;
    weightElements = solver.weights.elements;
    weightCount = n;
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

// Each chunk of springs first gathers the positions its ends need, so that a weight is read while
// its neighbours' are still in the caches, however large the cloth.
template <typename Law>
void SpringPack::addSprings(Weight<float, 3>* weights, const Law& law)
{
    std::uint32_t gathered = 0;
    auto compute = [&](std::uint32_t first, std::uint32_t end, Lanes* out) {
        std::uint32_t reach = chunkReach[first / ColumnSums::chunk];
        gather<Law::weighted>(weights, gathered, reach);
        gathered = std::max(gathered, reach);
        computeImpulses(law, first, (end + 3) / 4 * 4, out);
    };
    // The last group may have fewer than four weights; the other lanes go to spare.
    math::Vector3<float> spare[4];
    math::Vector3<float>* velocities[4];
    // Per lane, the scale of an impulse, then of padding: 1, so that it stays a negative zero. A
    // weight without springs, whose inverse mass was not gathered, adds only padding.
    Lanes scales[4][2];
    auto start = [&](std::uint32_t group, Lanes* velocity) {
#pragma GCC unroll 4
        for (std::uint32_t lane = 0; lane < 4; ++lane) {
            std::uint32_t i = 4 * group + lane;
            velocities[lane] = i < weightCount ? &weights[i].velocity : &spare[lane];
            const math::Vector3<float>& v = *velocities[lane];
            velocity[lane] = Lanes{v.x, v.y, v.z, 0.0f};
            if (Law::weighted) {
                float scale = i < weightCount ? inverseMasses[i] : 1.0f;
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

// The positions of weights first to end - 1 and, when weighted, their inverse masses.
template <bool weighted>
void SpringPack::gather(const Weight<float, 3>* weights, std::uint32_t first, std::uint32_t end)
{
    for (std::uint32_t i = first; i < end; ++i) {
        const Weight<float, 3>& weight = weights[i];
        positions[i] = Lanes{weight.position.x, weight.position.y, weight.position.z, 0.0f};
        if (weighted)
            inverseMasses[i] = inverseMass(weight.mass);
    }
}

// Springs first to end - 1, whole fours, to out. The four differences are turned into x, y and z
// lanes, so that each operation of the length and the factor serves four springs. Square root and
// division are correctly rounded in every lane, so each impulse has the list walk's bits.
template <typename Law>
void SpringPack::computeImpulses(const Law& law, std::uint32_t first, std::uint32_t end, Lanes* out) const
{
    const Lanes* p = positions.elements;
    for (std::uint32_t k = first; k < end; k += 4, out += 8) {
        Lanes d[4];
#pragma GCC unroll 4
        for (std::uint32_t i = 0; i < 4; ++i)
            d[i] = at(p, endsA[k + i]) - at(p, endsB[k + i]);
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
