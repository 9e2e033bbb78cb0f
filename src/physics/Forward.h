#pragma once

namespace vardel::physics {

// Templates over the scalar type and the number of dimensions; only <float, 3> is defined.
template <typename Scalar, int Dimensions>
class Weight;
template <typename Scalar, int Dimensions>
class Spring;
template <typename Scalar, int Dimensions>
class Relaxator;

class Effect;
class Grab;
class SphereObstacle;
class SpringBreaker;
class Wind;

} // namespace vardel::physics
