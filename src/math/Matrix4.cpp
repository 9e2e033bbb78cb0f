#include "math/Matrix4.h"

#include <cmath>

namespace vardel::math {

Matrix4 Matrix4::product(const Matrix4& a, const Matrix4& b)
{
    Matrix4 result;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a.m[4 * r + k] * b.m[4 * k + c];
            result.m[4 * r + c] = sum;
        }
    }
    return result;
}

bool Matrix4::invert(Matrix4& inverse) const
{
    // Gauss-Jordan elimination with partial pivoting, in double precision.
    double a[4][8];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            a[r][c] = m[4 * r + c];
            a[r][c + 4] = r == c ? 1.0 : 0.0;
        }
    }
    for (int column = 0; column < 4; ++column) {
        int pivot = column;
        for (int r = column + 1; r < 4; ++r) {
            if (std::fabs(a[r][column]) > std::fabs(a[pivot][column]))
                pivot = r;
        }
        if (a[pivot][column] == 0.0)
            return false;
        if (pivot != column) {
            for (int c = 0; c < 8; ++c) {
                double swap = a[column][c];
                a[column][c] = a[pivot][c];
                a[pivot][c] = swap;
            }
        }
        double scale = 1.0 / a[column][column];
        for (int c = 0; c < 8; ++c)
            a[column][c] *= scale;
        for (int r = 0; r < 4; ++r) {
            if (r == column || a[r][column] == 0.0)
                continue;
            double factor = a[r][column];
            for (int c = 0; c < 8; ++c)
                a[r][c] -= factor * a[column][c];
        }
    }
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c)
            inverse.m[4 * r + c] = static_cast<float>(a[r][c + 4]);
    }
    return true;
}

} // namespace vardel::math
