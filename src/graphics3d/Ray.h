#pragma once

#include <cstdint>

#include "graphics3d/Forward.h"
#include "math/Matrix4.h"
#include "math/Point.h"
#include "math/Vector3.h"

namespace vardel::graphics3d {

// A half-line in model coordinates, for finding what lies under a point of the window.
struct Ray {
    // Where a ray meets a triangle of a list.
    struct Hit {
        // Whether a triangle was met at all.
        bool found = false;
        // The position in the index list of the triangle's first corner.
        std::uint32_t triangle = 0;
        // The distance along the ray to the meeting point.
        float distance = 0.0f;
        // Where the ray meets the triangle.
        math::Vector3<float> point{0, 0, 0};
    };

    Ray() = default;
    // The ray from origin along direction, which it makes unit length.
    Ray(const math::Vector3<float>& origin, const math::Vector3<float>& direction);

    // The ray from the eye through the centre of a pixel of a view viewSize large (the viewport),
    // drawn by camera with modelView (row by row). False when the two matrices flatten space.
    static bool throughPoint(const Camera& camera, const math::Matrix4& modelView, math::Point viewSize,
                             math::Point point, Ray& ray);

    // The point distance along the ray from its origin.
    math::Vector3<float> at(float distance) const;
    // The distance along the ray to a plane; false when the ray runs parallel to it or away.
    bool meetsPlane(const math::Vector3<float>& point, const math::Vector3<float>& normal, float& distance) const;
    // The nearest triangle in front of the origin, either face. positions[stride * i] is the
    // position of vertex i; indices holds three vertices per triangle.
    Hit firstHit(const math::Vector3<float>* positions, std::uint32_t stride, const unsigned int* indices,
                 std::uint32_t indexCount) const;

    // Where the ray starts.
    math::Vector3<float> origin{0, 0, 0};
    // Unit length.
    math::Vector3<float> direction{0, 0, -1};
};

} // namespace vardel::graphics3d
