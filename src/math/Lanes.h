#pragma once

#include <cstdint>
#include <cstring>

namespace vardel::math {

// A vector's x, y, z and an unused fourth float in one register; the passes over packed weights,
// springs and triangles work on these.
using Lanes = float __attribute__((vector_size(16)));
// Lane numbers for __builtin_shuffle.
using LaneOrder = std::int32_t __attribute__((vector_size(16)));

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

// The element offset bytes into an array of Lanes.
inline const Lanes& at(const Lanes* array, std::uint32_t offset)
{
    return *reinterpret_cast<const Lanes*>(reinterpret_cast<const char*>(array) + offset);
}

// u x v, each lane computed as Vector3::cross computes it: the products are taken with the lanes
// turned once, and the result turned back, three shuffles in all.
inline Lanes cross(Lanes u, Lanes v)
{
    const LaneOrder yzx{1, 2, 0, 3};
    Lanes turned = u * __builtin_shuffle(v, yzx) - __builtin_shuffle(u, yzx) * v;
    return __builtin_shuffle(turned, yzx);
}

} // namespace vardel::math
