#pragma once

namespace vardel::math {

// Fixed-size vector of N components.
template <typename T, int N>
struct Vector {
    // The components, in order.
    T components[N];

    // The component at i.
    T& operator[](int i) { return components[i]; }
    // The component at i.
    const T& operator[](int i) const { return components[i]; }
};

// The three-component form keeps the x, y, z layout of Vector3.
template <typename T>
struct Vector<T, 3> {
    // The first component.
    T x;
    // The second component.
    T y;
    // The third component.
    T z;

    Vector() = default;
    // The vector (x, y, z).
    constexpr Vector(T x, T y, T z) : x(x), y(y), z(z) {}

    // The component at i: x, y, then z.
    T& operator[](int i) { return i == 0 ? x : i == 1 ? y : z; }
    // The component at i: x, y, then z.
    const T& operator[](int i) const { return i == 0 ? x : i == 1 ? y : z; }
};

} // namespace vardel::math
