#pragma once

#include <gtest/gtest.h>

#include "math/Vector3.h"

namespace vardel::test {

// Each coordinate equal to within four units in the last place.
inline void expectVector(const math::Vector3<float>& v, float x, float y, float z)
{
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

// Each coordinate within tolerance, for results of long sums.
inline void expectVectorNear(const math::Vector3<float>& v, float x, float y, float z, float tolerance = 1e-4f)
{
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

} // namespace vardel::test
