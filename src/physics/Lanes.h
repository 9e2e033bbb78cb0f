#pragma once

#include <cstring>

namespace vardel::physics {

// A vector's x, y, z and an unused fourth float in one register; the passes over packed weights
// and springs work on these.
using Lanes = float __attribute__((vector_size(16)));

// Four floats from at, which need not be aligned.
inline Lanes load(const float* at)
{
    Lanes lanes;
    std::memcpy(&lanes, at, sizeof lanes);
    return lanes;
}

// Four floats to at, which need not be aligned.
inline void store(float* at, Lanes lanes)
{
    std::memcpy(at, &lanes, sizeof lanes);
}

} // namespace vardel::physics
