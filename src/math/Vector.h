#pragma once

namespace vardel::math {

// Fixed-size vector of N components.
template <typename T, int N>
struct Vector {
    T components[N];

    T& operator[](int i) { return components[i]; }
    const T& operator[](int i) const { return components[i]; }
};

// The three-component form keeps the x, y, z layout of Vector3.
template <typename T>
struct Vector<T, 3> {
    T x, y, z;

    Vector() = default;
    constexpr Vector(T x, T y, T z) : x(x), y(y), z(z) {}

    T& operator[](int i) { return i == 0 ? x : i == 1 ? y : z; }
    const T& operator[](int i) const { return i == 0 ? x : i == 1 ? y : z; }
};

} // namespace vardel::math
