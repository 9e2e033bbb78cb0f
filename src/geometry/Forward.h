#pragma once

namespace vardel::geometry {

// Templates over the scalar type (and the number of dimensions); only float in three is defined.
template <typename Scalar, int Dimensions>
class TriangleMesh;
template <typename Scalar>
class TriangleMesh3;

} // namespace vardel::geometry
