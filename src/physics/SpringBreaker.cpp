#include "physics/SpringBreaker.h"

#include "physics/Relaxator.h"

namespace vardel::physics {

SpringBreaker::SpringBreaker() : ratio(2.0f) {}

void SpringBreaker::afterStep(Relaxator<float, 3>& solver, float)
{
    const Weight<float, 3>* weights = solver.weights.elements;
    solver.removeSprings([&](const Spring<float, 3>& spring) {
        if (!(spring.length > ratio * spring.restLength))
            return false;
        std::uint32_t at = brokenEnds.count;
        brokenEnds.resize(at + 2);
        brokenEnds[at] = static_cast<std::uint32_t>(spring.weightA - weights);
        brokenEnds[at + 1] = static_cast<std::uint32_t>(spring.weightB - weights);
        return true;
    });
}

} // namespace vardel::physics
