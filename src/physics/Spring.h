#pragma once

#include "math/Vector3.h"
#include "object/Object.h"
#include "physics/Forward.h"
#include "types/String.h"

namespace vardel::physics {

// A linear spring between two weights of the same solver. Its weight and chain pointers do not
// own anything.
template <>
class Spring<float, 3> : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Spring)

    Spring()
        : stiffness(1.0f), restLength(0.0f), length(0.0f), force(0, 0, 0), weightA(nullptr), nextAtA(nullptr),
          weightB(nullptr), nextAtB(nullptr)
    {
    }

    // The spring constant under the per-spring force law.
    float stiffness;
    // The length at which the spring pulls and pushes nothing.
    float restLength;
    // As measured by the last step or captureRest.
    float length;
    // The velocity change of the last step: on weightA before division by its mass under the
    // per-spring law, on weightB under the uniform law.
    math::Vector3<float> force;
    // One end.
    Weight<float, 3>* weightA;
    // The next spring of weightA's chain, or null.
    Spring* nextAtA;
    // The other end.
    Weight<float, 3>* weightB;
    // The next spring of weightB's chain, or null.
    Spring* nextAtB;
};

} // namespace vardel::physics
