#pragma once

#include "container/Array.h"
#include "geometry/Forward.h"
#include "math/Vector.h"
#include "object/Object.h"
#include "types/String.h"

#include <cstdint>

namespace vardel::geometry {

// A plain triangle list for geometric work away from OpenGL.
template <>
class TriangleMesh<float, 3> : public object::Object {
    VARDEL_CLASS_PATH(object::Object, TriangleMesh)

    // Appends the triangle of vertices a, b and c.
    void addTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c)
    {
        std::uint32_t at = triangleIndices.count;
        triangleIndices.resize(at + 3);
        triangleIndices[at] = a;
        triangleIndices[at + 1] = b;
        triangleIndices[at + 2] = c;
    }

    // The positions the triangles index.
    container::Array<math::Vector<float, 3>> vertices;
    // Three vertex indices per triangle.
    container::Array<unsigned int> triangleIndices;
};

} // namespace vardel::geometry
