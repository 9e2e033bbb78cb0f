#include "physics/SpringBreaker.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "math/Lanes.h"
#include "physics/Relaxator.h"

namespace vardel::physics {

namespace {

using math::Lanes;
using math::load;
using math::store;

float distanceSquared(const math::Vector3<float>& p, const math::Vector3<float>& q)
{
    float x = p.x - q.x;
    float y = p.y - q.y;
    float z = p.z - q.z;
    return x * x + y * y + z * z;
}

} // namespace

SpringBreaker::SpringBreaker()
    : ratio(2.0f), watchedSolver(nullptr), watchedFirst(nullptr), watchedCount(-1), watchedRatio(0.0f),
      measured(false), slack(0.0f)
{
}

void SpringBreaker::attached(Relaxator<float, 3>&)
{
    watchedSolver = nullptr;
}

void SpringBreaker::afterStep(Relaxator<float, 3>& solver, float)
{
    if (!watching(solver))
        watch(solver);
    const Weight<float, 3>* weights = solver.weights.elements;
    const std::uint32_t n = solver.weights.count;
    if (positions.count != 4 * n) {
        positions.resize(4 * n);
        measuredPositions.resize(4 * n);
        measured = false;
    }
    // A spring grows by at most what its two ends moved. While no weight has moved half the
    // smallest slack left at the last measurement, no spring can have reached its limit; the
    // margin covers the rounding of the lengths.
    if (measured) {
        float movedSquared = 0.0f;
        for (std::uint32_t i = 0; i < n; ++i) {
            const math::Vector3<float>& position = weights[i].position;
            Lanes d = Lanes{position.x, position.y, position.z, 0.0f} - load(&measuredPositions[4 * i]);
            Lanes squares = d * d;
            movedSquared = std::max(movedSquared, squares[0] + squares[1] + squares[2]);
        }
        if (2.0f * std::sqrt(movedSquared) < 0.999f * slack)
            return;
    }
    for (std::uint32_t i = 0; i < n; ++i) {
        const math::Vector3<float>& position = weights[i].position;
        store(&positions[4 * i], Lanes{position.x, position.y, position.z, 0.0f});
    }
    // Springs seldom break: a pass over the copy finds whether any does before the list is walked,
    // and the slack each has left.
    const float* p = positions.elements;
    bool breaking = false;
    float least = std::numeric_limits<float>::infinity();
    for (const Watched& spring : watched) {
        // Summed as distanceSquared sums: x, then y, then z.
        Lanes d = load(p + 4 * spring.a) - load(p + 4 * spring.b);
        Lanes squares = d * d;
        float lengthSquared = squares[0] + squares[1] + squares[2];
        breaking |= lengthSquared > spring.limitSquared;
        least = std::min(least, spring.limit - std::sqrt(lengthSquared));
    }
    if (!breaking) {
        std::copy(positions.begin(), positions.end(), measuredPositions.begin());
        slack = least;
        measured = true;
        return;
    }
    const float ratioSquared = ratio * ratio;
    solver.removeSprings([&](const Spring<float, 3>& spring) {
        float limit = spring.restLength * spring.restLength * ratioSquared;
        if (!(distanceSquared(spring.weightA->position, spring.weightB->position) > limit))
            return false;
        std::uint32_t at = brokenEnds.count;
        brokenEnds.resize(at + 2);
        brokenEnds[at] = static_cast<std::uint32_t>(spring.weightA - weights);
        brokenEnds[at + 1] = static_cast<std::uint32_t>(spring.weightB - weights);
        return true;
    });
    watch(solver);
}

bool SpringBreaker::watching(const Relaxator<float, 3>& solver) const
{
    return watchedSolver == &solver && watchedCount == solver.springs.count && watchedFirst == solver.springs.first &&
           watchedRatio == ratio;
}

void SpringBreaker::watch(const Relaxator<float, 3>& solver)
{
    const Weight<float, 3>* weights = solver.weights.elements;
    const float ratioSquared = ratio * ratio;
    watched.resize(static_cast<std::uint32_t>(solver.springs.count));
    Watched* out = watched.elements;
    for (const Spring<float, 3>& spring : solver.springs) {
        *out++ = Watched{static_cast<std::uint32_t>(spring.weightA - weights),
                         static_cast<std::uint32_t>(spring.weightB - weights),
                         spring.restLength * spring.restLength * ratioSquared, spring.restLength * ratio};
    }
    watchedSolver = &solver;
    watchedFirst = solver.springs.first;
    watchedCount = solver.springs.count;
    watchedRatio = ratio;
    measured = false;
}

} // namespace vardel::physics
