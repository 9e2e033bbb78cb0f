#pragma once

namespace vardel::physics {

// The relative change of length (len - rest) / len. A spring of zero length has no direction to
// push along and gives 0, where the quotient would be NaN or infinite. The quotient is taken either
// way, so that a loop over many springs needs no branch and can be vectorised.
inline float stretch(float len, float restLength)
{
    float quotient = (len - restLength) / len;
    return len > 0.0f ? quotient : 0.0f;
}

// A weight of zero mass takes no spring impulse instead of an infinite one, which would spread
// NaN through every spring that reaches it.
inline float inverseMass(float mass)
{
    return mass != 0.0f ? 1.0f / mass : 0.0f;
}

} // namespace vardel::physics
