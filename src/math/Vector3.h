#pragma once

#include <cmath>

namespace vardel::math {

// Three packed components; arrays of it are handed to OpenGL as plain float data.
template <typename T>
struct Vector3 {
    T x, y, z;

    // Leaves the components unset: every user sets or zeroes them.
    Vector3() = default;
    constexpr Vector3(T x, T y, T z) : x(x), y(y), z(z) {}

    void set(T newX, T newY, T newZ)
    {
        x = newX;
        y = newY;
        z = newZ;
    }
    void setZero() { set(0, 0, 0); }

    static Vector3 difference(const Vector3& u, const Vector3& v) { return {u.x - v.x, u.y - v.y, u.z - v.z}; }
    static Vector3 cross(const Vector3& u, const Vector3& v)
    {
        return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
    }
    static Vector3 scaled(T k, const Vector3& v) { return {k * v.x, k * v.y, k * v.z}; }

    T length() const { return std::sqrt(x * x + y * y + z * z); }

    // Leaves a zero vector unchanged instead of dividing by zero.
    void normalise()
    {
        T s = x * x + y * y + z * z;
        if (s > 0) {
            T k = T(1) / std::sqrt(s);
            x *= k;
            y *= k;
            z *= k;
        }
    }

    void add(const Vector3& v)
    {
        x += v.x;
        y += v.y;
        z += v.z;
    }
};

// Resets bounds and other vectors; constant-initialised, so it is ready before any other static.
extern const Vector3<float> zeroVector;

} // namespace vardel::math
