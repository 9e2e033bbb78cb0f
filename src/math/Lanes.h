#pragma once

#include <cstdint>
#include <cstring>

#include <xmmintrin.h>

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

// The correctly rounded square root of each lane.
inline Lanes squareRoot(Lanes lanes)
{
    return _mm_sqrt_ps(lanes);
}

// The x, y and z lanes of four vectors, each as four lanes, so that one operation serves all four.
inline void transpose(const Lanes v[4], Lanes& x, Lanes& y, Lanes& z)
{
    Lanes low01 = __builtin_shuffle(v[0], v[1], LaneOrder{0, 4, 1, 5});
    Lanes low23 = __builtin_shuffle(v[2], v[3], LaneOrder{0, 4, 1, 5});
    Lanes high01 = __builtin_shuffle(v[0], v[1], LaneOrder{2, 6, 3, 7});
    Lanes high23 = __builtin_shuffle(v[2], v[3], LaneOrder{2, 6, 3, 7});
    x = __builtin_shuffle(low01, low23, LaneOrder{0, 1, 4, 5});
    y = __builtin_shuffle(low01, low23, LaneOrder{2, 3, 6, 7});
    z = __builtin_shuffle(high01, high23, LaneOrder{0, 1, 4, 5});
}

// Lane i of lanes in all four.
inline Lanes broadcast(Lanes lanes, int i)
{
    return __builtin_shuffle(lanes, LaneOrder{i, i, i, i});
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
