#include "physics/SpringBreaker.h"

#include "physics/Relaxator.h"

namespace vardel::physics {

namespace {

float distanceSquared(const math::Vector3<float>& p, const math::Vector3<float>& q)
{
    float x = p.x - q.x;
    float y = p.y - q.y;
    float z = p.z - q.z;
    return x * x + y * y + z * z;
}

} // namespace

SpringBreaker::SpringBreaker()
    : ratio(2.0f), watchedSolver(nullptr), watchedFirst(nullptr), watchedCount(-1), watchedRatio(0.0f)
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
    // Springs seldom break: a pass over the copy finds whether any does before the list is walked.
    const Weight<float, 3>* weights = solver.weights.elements;
    bool breaking = false;
    for (const Watched& spring : watched) {
        if (distanceSquared(weights[spring.a].position, weights[spring.b].position) > spring.limitSquared) {
            breaking = true;
            break;
        }
    }
    if (!breaking)
        return;
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
                         spring.restLength * spring.restLength * ratioSquared};
    }
    watchedSolver = &solver;
    watchedFirst = solver.springs.first;
    watchedCount = solver.springs.count;
    watchedRatio = ratio;
}

} // namespace vardel::physics
