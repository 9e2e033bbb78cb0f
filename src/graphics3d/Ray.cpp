#include "graphics3d/Ray.h"

#include <cmath>

#include "graphics3d/Camera.h"

namespace vardel::graphics3d {

namespace {

using Vector = math::Vector3<float>;

float dot(const Vector& u, const Vector& v)
{
    return u.x * v.x + u.y * v.y + u.z * v.z;
}

// A point of clip space (w = 1) taken back through the inverse matrix, divided by its w.
bool unproject(const math::Matrix4& inverse, float x, float y, float z, Vector& point)
{
    const float* m = inverse.m;
    float w = m[12] * x + m[13] * y + m[14] * z + m[15];
    if (w == 0.0f)
        return false;
    point.set((m[0] * x + m[1] * y + m[2] * z + m[3]) / w, (m[4] * x + m[5] * y + m[6] * z + m[7]) / w,
              (m[8] * x + m[9] * y + m[10] * z + m[11]) / w);
    return true;
}

} // namespace

Ray::Ray(const Vector& origin, const Vector& direction) : origin(origin), direction(direction)
{
    this->direction.normalise();
}

bool Ray::throughPoint(const Camera& camera, const math::Matrix4& modelView, math::Point viewSize, math::Point point,
                       Ray& ray)
{
    math::Matrix4 inverse;
    if (viewSize.x <= 0 || viewSize.y <= 0 || !math::Matrix4::product(camera.projection(), modelView).invert(inverse))
        return false;
    // Window rows grow downwards, normalised device coordinates upwards.
    float x = 2.0f * (point.x + 0.5f) / viewSize.x - 1.0f;
    float y = 1.0f - 2.0f * (point.y + 0.5f) / viewSize.y;
    Vector front;
    Vector back;
    if (!unproject(inverse, x, y, -1.0f, front) || !unproject(inverse, x, y, 1.0f, back))
        return false;
    Vector direction = Vector::difference(back, front);
    if (dot(direction, direction) == 0.0f)
        return false;
    ray = Ray(front, direction);
    return true;
}

Vector Ray::at(float distance) const
{
    return Vector(origin.x + direction.x * distance, origin.y + direction.y * distance,
                  origin.z + direction.z * distance);
}

bool Ray::meetsPlane(const Vector& point, const Vector& normal, float& distance) const
{
    float along = dot(direction, normal);
    if (along == 0.0f)
        return false;
    float t = dot(Vector::difference(point, origin), normal) / along;
    if (!(t >= 0.0f))
        return false;
    distance = t;
    return true;
}

Ray::Hit Ray::firstHit(const Vector* positions, std::uint32_t stride, const unsigned int* indices,
                       std::uint32_t indexCount) const
{
    Hit hit;
    // Moeller and Trumbore: solve origin + t direction = p0 + u e1 + v e2 by Cramer's rule.
    for (std::uint32_t i = 0; i + 2 < indexCount; i += 3) {
        const Vector& p0 = positions[std::size_t(stride) * indices[i]];
        Vector e1 = Vector::difference(positions[std::size_t(stride) * indices[i + 1]], p0);
        Vector e2 = Vector::difference(positions[std::size_t(stride) * indices[i + 2]], p0);
        Vector p = Vector::cross(direction, e2);
        float determinant = dot(e1, p);
        if (determinant == 0.0f)
            continue;
        float inverse = 1.0f / determinant;
        Vector s = Vector::difference(origin, p0);
        float u = dot(s, p) * inverse;
        if (u < 0.0f || u > 1.0f)
            continue;
        Vector q = Vector::cross(s, e1);
        float v = dot(direction, q) * inverse;
        if (v < 0.0f || u + v > 1.0f)
            continue;
        float t = dot(e2, q) * inverse;
        if (t < 0.0f || (hit.found && t >= hit.distance))
            continue;
        hit.found = true;
        hit.triangle = i;
        hit.distance = t;
    }
    if (hit.found)
        hit.point = at(hit.distance);
    return hit;
}

} // namespace vardel::graphics3d
