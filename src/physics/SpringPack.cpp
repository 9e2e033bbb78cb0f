#include "physics/SpringPack.h"

#include <algorithm>

#include <xmmintrin.h>

#include "physics/Relaxator.h"
#include "physics/SpringLaw.h"

namespace vardel::physics {

namespace {

// Springs per chunk of addSprings.
constexpr std::uint32_t chunk = 256;

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

// The element offset bytes into an array of Lanes.
inline const Lanes& at(const Lanes* array, std::uint32_t offset)
{
    return *reinterpret_cast<const Lanes*>(reinterpret_cast<const char*>(array) + offset);
}

} // namespace

SpringPack::SpringPack()
    : ringSprings(0), built(false), firstSpring(nullptr), lastSpring(nullptr), springCount(0), weightElements(nullptr),
      weightCount(0)
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
    const Weight<float, 3>* weights = solver.weights.elements;
    std::uint32_t k = 0;
    for (const Spring<float, 3>& spring : solver.springs) {
        endsA[k] = static_cast<std::uint32_t>(spring.weightA - weights) * sizeof(Lanes);
        endsB[k] = static_cast<std::uint32_t>(spring.weightB - weights) * sizeof(Lanes);
        restLengths[k] = spring.restLength;
        stiffnesses[k] = spring.stiffness;
        ++k;
    }
    springCount = solver.springs.count;
    layOutContributions(n);
    built = true;
    firstSpring = solver.springs.first;
    lastSpring = solver.springs.last();
    weightElements = solver.weights.elements;
    weightCount = n;
}

void SpringPack::layOutContributions(std::uint32_t n)
{
    const auto count = static_cast<std::uint32_t>(springCount);
    const std::uint32_t groups = (n + 3) / 4;
    auto weightA = [&](std::uint32_t k) { return endsA[k] / std::uint32_t{sizeof(Lanes)}; };
    auto weightB = [&](std::uint32_t k) { return endsB[k] / std::uint32_t{sizeof(Lanes)}; };
    // Per weight, its springs; then, while filling, the row of its next entry.
    container::Array<std::uint32_t> rows;
    rows.resize(n);
    std::fill(rows.begin(), rows.end(), 0u);
    for (std::uint32_t k = 0; k < count; ++k) {
        ++rows[weightA(k)];
        ++rows[weightB(k)];
    }
    firstRow.resize(groups + 1);
    firstRow[0] = 0;
    for (std::uint32_t g = 0; g < groups; ++g) {
        const std::uint32_t* group = rows.elements + 4 * g;
        const std::uint32_t* end = rows.elements + std::min(n, 4 * g + 4);
        firstRow[g + 1] = firstRow[g] + 4 * *std::max_element(group, end);
    }

    // Per chunk, one more than the highest weight its springs or an earlier chunk's reach.
    chunkReach.resize((count + chunk - 1) / chunk);
    std::uint32_t reach = 0;
    for (std::uint32_t k = 0; k < count; ++k) {
        reach = std::max({reach, weightA(k) + 1, weightB(k) + 1});
        chunkReach[k / chunk] = reach;
    }

    // Per group, its first spring in the list, or count without springs.
    container::Array<std::uint32_t> oldest;
    oldest.resize(groups);
    std::fill(oldest.begin(), oldest.end(), count);
    groupReady.resize(groups);
    std::fill(groupReady.begin(), groupReady.end(), 0u);
    for (std::uint32_t k = count; k-- > 0;) {
        for (std::uint32_t g : {weightA(k) / 4, weightB(k) / 4}) {
            oldest[g] = k;
            groupReady[g] = std::max(groupReady[g], k + 1);
        }
    }
    // The ring holds, in whole chunks, every spring from the oldest one a group still needs to the
    // last one computed, as addSprings goes through them; a cloth's groups need about two rows.
    std::uint32_t window = chunk;
    std::uint32_t group = 0;
    for (std::uint32_t first = 0; first < count || group < groups; first += chunk) {
        const std::uint32_t done = std::min(first + chunk, count);
        for (; group < groups && (groupReady[group] <= done || done == count); ++group)
            window = std::max(window, done - std::min(oldest[group], done));
    }
    ringSprings = std::min((window + chunk - 1) / chunk, (count + chunk - 1) / chunk) * chunk;
    impulses.resize(2 * ringSprings + 1);
    const Lanes negativeZeros{-0.0f, -0.0f, -0.0f, -0.0f};
    impulses[2 * ringSprings] = negativeZeros;

    contributions.resize(firstRow[groups]);
    std::fill(contributions.begin(), contributions.end(), 2 * ringSprings * std::uint32_t{sizeof(Lanes)});
    std::fill(rows.begin(), rows.end(), 0u);
    // In list order, so every weight's column is in list order too.
    auto add = [&](std::uint32_t weight, std::uint32_t slot) {
        contributions[firstRow[weight / 4] + 4 * rows[weight]++ + weight % 4] = slot * std::uint32_t{sizeof(Lanes)};
    };
    for (std::uint32_t k = 0; k < count; ++k) {
        add(weightA(k), 2 * (k % ringSprings));
        add(weightB(k), 2 * (k % ringSprings) + 1);
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

// A chunk of springs at a time: the positions their ends need, their impulses, then every group
// of weights whose springs are all done. A weight is read while its neighbours' are still in the
// caches, however large the cloth.
template <typename Law>
void SpringPack::addSprings(Weight<float, 3>* weights, const Law& law)
{
    const auto count = static_cast<std::uint32_t>(springCount);
    const std::uint32_t groups = groupReady.count;
    std::uint32_t gathered = 0;
    std::uint32_t group = 0;
    for (std::uint32_t first = 0; first < count; first += chunk) {
        const std::uint32_t done = first + std::min(chunk, count - first);
        gather<Law::weighted>(weights, gathered, chunkReach[first / chunk]);
        gathered = std::max(gathered, chunkReach[first / chunk]);
        computeImpulses(law, first, (done + 3) / 4 * 4);
        std::uint32_t ready = group;
        while (ready < groups && groupReady[ready] <= done)
            ++ready;
        addImpulses<Law::weighted>(weights, group, ready);
        group = ready;
    }
    gather<Law::weighted>(weights, gathered, weightCount);
    addImpulses<Law::weighted>(weights, group, groups);
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

// Springs first to end - 1, whole fours within one chunk, into their slots of the ring. The four
// differences are turned into x, y and z lanes, so that each operation of the length and the
// factor serves four springs. Square root and division are correctly rounded in every lane, so
// each impulse has the list walk's bits.
template <typename Law>
void SpringPack::computeImpulses(const Law& law, std::uint32_t first, std::uint32_t end)
{
    using Mask = std::int32_t __attribute__((vector_size(16)));
    const Lanes* p = positions.elements;
    Lanes* out = impulses.elements + 2 * (first % ringSprings);
    for (std::uint32_t k = first; k < end; k += 4, out += 8) {
        Lanes d[4];
#pragma GCC unroll 4
        for (std::uint32_t i = 0; i < 4; ++i)
            d[i] = at(p, endsA[k + i]) - at(p, endsB[k + i]);
        Lanes low01 = __builtin_shuffle(d[0], d[1], Mask{0, 4, 1, 5});
        Lanes low23 = __builtin_shuffle(d[2], d[3], Mask{0, 4, 1, 5});
        Lanes high01 = __builtin_shuffle(d[0], d[1], Mask{2, 6, 3, 7});
        Lanes high23 = __builtin_shuffle(d[2], d[3], Mask{2, 6, 3, 7});
        Lanes dx = __builtin_shuffle(low01, low23, Mask{0, 1, 4, 5});
        Lanes dy = __builtin_shuffle(low01, low23, Mask{2, 3, 6, 7});
        Lanes dz = __builtin_shuffle(high01, high23, Mask{0, 1, 4, 5});
        Lanes len = _mm_sqrt_ps(dx * dx + dy * dy + dz * dz);
        // stretch, lane by lane.
        Lanes quotient = (len - load(restLengths.elements + k)) / len;
        Lanes stretched = len > Lanes{} ? quotient : Lanes{};
        Lanes factor = Law::signOfA * law.factor(stretched, load(stiffnesses.elements + k));
#pragma GCC unroll 4
        for (int i = 0; i < 4; ++i) {
            Lanes atA = __builtin_shuffle(factor, Mask{i, i, i, i}) * d[i];
            out[2 * i] = atA;
            out[2 * i + 1] = -atA;
        }
    }
}

// Four weights side by side: each weight's sum is a chain of additions in list order, and four
// independent chains keep the adder busy where one would wait on each result.
template <bool weighted>
void SpringPack::addImpulses(Weight<float, 3>* weights, std::uint32_t firstGroup, std::uint32_t endGroup)
{
    const std::uint32_t padding = 2 * ringSprings * std::uint32_t{sizeof(Lanes)};
    const std::uint32_t* entry = contributions.elements + firstRow[firstGroup];
    const Lanes* impulse = impulses.elements;
    // The last group may have fewer than four weights; its other columns are padding, summed here.
    math::Vector3<float> spare[4];
    for (std::uint32_t group = firstGroup; group < endGroup; ++group) {
        math::Vector3<float>* velocities[4];
        Lanes velocity[4];
        // Per weight, the scale of an impulse, then of padding: 1, so that it stays a negative zero.
        Lanes scales[4][2];
#pragma GCC unroll 4
        for (std::uint32_t r = 0; r < 4; ++r) {
            std::uint32_t i = 4 * group + r;
            velocities[r] = i < weightCount ? &weights[i].velocity : &spare[r];
            const math::Vector3<float>& v = *velocities[r];
            velocity[r] = Lanes{v.x, v.y, v.z, 0.0f};
            if (weighted) {
                float scale = i < weightCount ? inverseMasses[i] : 1.0f;
                scales[r][0] = Lanes{scale, scale, scale, scale};
                scales[r][1] = Lanes{1.0f, 1.0f, 1.0f, 1.0f};
            }
        }
        const std::uint32_t* end = contributions.elements + firstRow[group + 1];
        for (; entry != end; entry += 4) {
#pragma GCC unroll 4
            for (std::uint32_t r = 0; r < 4; ++r) {
                const Lanes& value = at(impulse, entry[r]);
                velocity[r] += weighted ? scales[r][entry[r] == padding] * value : value;
            }
        }
#pragma GCC unroll 4
        for (std::uint32_t r = 0; r < 4; ++r)
            velocities[r]->set(velocity[r][0], velocity[r][1], velocity[r][2]);
    }
}

} // namespace vardel::physics
