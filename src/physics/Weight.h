#pragma once

#include "math/Vector3.h"
#include "object/Object.h"
#include "physics/Forward.h"
#include "types/String.h"

namespace vardel::physics {

// A point mass. Weights live by value in the solver's array and are never counted individually.
template <>
class Weight<float, 3> : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Weight)

    Weight()
        : position(0, 0, 0), velocity(0, 0, 0), mass(1.0f), coefficient(1.0f), firstSpring(nullptr), pinned(false)
    {
    }

    // Where the weight is.
    math::Vector3<float> position;
    // Distance per time unit.
    math::Vector3<float> velocity;
    // Read only by the per-spring force law.
    float mass;
    // A spare per-weight value, 1 unless a caller sets it; no step reads it.
    float coefficient;
    // Head of the chain of springs attached here, continued through nextAtA or nextAtB.
    Spring<float, 3>* firstSpring;
    // Never damped, accelerated or moved by the solver.
    bool pinned;
};

} // namespace vardel::physics
