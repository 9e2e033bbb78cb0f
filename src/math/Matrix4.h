#pragma once

namespace vardel::math {

// 4 x 4 floats stored row by row: element (i, j) is m[4 * i + j], so an affine matrix keeps its
// translation in m[3], m[7] and m[11]. OpenGL takes it transposed.
struct Matrix4 {
    // The elements, row by row.
    float m[16];

    // Makes this the identity matrix.
    void setIdentity()
    {
        for (float& f : m) {
            f = 0.0f;
        }
        m[0] = m[5] = m[10] = m[15] = 1.0f;
    }

    // a x b, for column vectors: b applies first.
    static Matrix4 product(const Matrix4& a, const Matrix4& b);
    // False, leaving inverse as it was, when this matrix has none.
    bool invert(Matrix4& inverse) const;

    // The element at i, row by row.
    float& operator[](int i) { return m[i]; }
    // The element at i, row by row.
    const float& operator[](int i) const { return m[i]; }
};

static_assert(sizeof(Matrix4) == 64);

} // namespace vardel::math
