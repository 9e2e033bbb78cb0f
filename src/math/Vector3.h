#pragma once

#include <cmath>

namespace vardel::math {

// Three packed components; arrays of it are handed to OpenGL as plain float data.
template <typename T>
struct Vector3 {
    // The first component.
    T x;
    // The second component.
    T y;
    // The third component.
    T z;

    // Leaves the components unset: every user sets or zeroes them.
    Vector3() = default;
    // The vector (x, y, z).
    constexpr Vector3(T x, T y, T z) : x(x), y(y), z(z) {}

    // Sets the three components.
    void set(T newX, T newY, T newZ)
    {
        x = newX;
        y = newY;
        z = newZ;
    }
    // Sets every component to 0.
    void setZero() { set(0, 0, 0); }

    // u - v.
    static Vector3 difference(const Vector3& u, const Vector3& v) { return {u.x - v.x, u.y - v.y, u.z - v.z}; }
    // The cross product u x v.
    static Vector3 cross(const Vector3& u, const Vector3& v)
    {
        return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
    }
    // k v.
    static Vector3 scaled(T k, const Vector3& v) { return {k * v.x, k * v.y, k * v.z}; }

    // The Euclidean length.
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

    // Adds v to this vector.
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
