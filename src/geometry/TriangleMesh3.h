#pragma once

#include "geometry/TriangleMesh.h"

namespace vardel::geometry {

// The three-dimensional triangle mesh that meshes convert into; it keeps its parent's class path.
template <>
class TriangleMesh3<float> : public TriangleMesh<float, 3> {};

} // namespace vardel::geometry
