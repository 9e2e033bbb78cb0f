#include "graphics/Transform.h"
#include "math/Colour4.h"
#include "math/Matrix4.h"
#include "math/Rectangle.h"
#include "math/Vector.h"
#include "math/Vector3.h"
#include "support/Expect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using vardel::graphics::Transform;
using vardel::math::Matrix4;
using vardel::math::Point;
using vardel::math::Rectangle;
using Vector3f = vardel::math::Vector3<float>;

using vardel::test::expectVector;

namespace {

void expectTransform(const Transform<float>& t, float a, float b, float tx, float c, float d, float ty)
{
    EXPECT_FLOAT_EQ(t.a, a);
    EXPECT_FLOAT_EQ(t.b, b);
    EXPECT_FLOAT_EQ(t.tx, tx);
    EXPECT_FLOAT_EQ(t.c, c);
    EXPECT_FLOAT_EQ(t.d, d);
    EXPECT_FLOAT_EQ(t.ty, ty);
}

} // namespace

TEST(Vector3, arithmetic)
{
    Vector3f zero(0, 0, 0);
    zero.normalise();
    expectVector(zero, 0, 0, 0);

    Vector3f v(3, 0, 4);
    v.normalise();
    expectVector(v, 0.6f, 0, 0.8f);

    expectVector(Vector3f::cross({10, 0, 0}, {0, 10, 0}), 0, 0, 100);
    expectVector(Vector3f::cross({0, 10, 0}, {10, 0, 0}), 0, 0, -100);
    EXPECT_NEAR(Vector3f(10, 10, 0).length(), 14.142136f, 1e-5f);
    expectVector(Vector3f::difference({1, 2, 3}, {4, 6, 8}), -3, -4, -5);
    expectVector(Vector3f::scaled(-2, {1, 2, 3}), -2, -4, -6);

    Vector3f sum(1, 1, 1);
    sum.add({0.5f, -1, 2});
    expectVector(sum, 1.5f, 0, 3);
    sum.setZero();
    expectVector(sum, 0, 0, 0);
    expectVector(vardel::math::zeroVector, 0, 0, 0);
}

TEST(Vector, threeComponentLayoutMatchesVector3)
{
    static_assert(sizeof(vardel::math::Vector<float, 3>) == 12);
    static_assert(sizeof(Vector3f) == 12);
    vardel::math::Vector<float, 3> v(1, 2, 3);
    EXPECT_EQ(v[0], 1);
    EXPECT_EQ(v[2], 3);
    v[1] = 7;
    EXPECT_EQ(v.y, 7);
}

TEST(Matrix4, identityIsExactWhateverWasThere)
{
    Matrix4 m;
    std::memset(&m, 0xff, sizeof m);
    m.setIdentity();
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(m[i], (i % 5 == 0) ? 1.0f : 0.0f) << i;
    }
}

TEST(Matrix4, productAndInverseUndoEachOther)
{
    // A turn about z, a scale and a translation, then a projection-like last row.
    Matrix4 m{{0, -2, 0, 5, 1, 0, 0, -3, 0, 0, 4, 1, 0, 0, -1, 0}};
    Matrix4 inverse;
    ASSERT_TRUE(m.invert(inverse));
    Matrix4 identity = Matrix4::product(m, inverse);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(identity[i], (i % 5 == 0) ? 1.0f : 0.0f, 1e-6f) << i;
    }
    // Column vectors: the right-hand factor applies first.
    Matrix4 shift;
    shift.setIdentity();
    shift[3] = 1.0f;
    Matrix4 twice;
    twice.setIdentity();
    twice[0] = 2.0f;
    EXPECT_EQ(Matrix4::product(twice, shift)[3], 2.0f);
    EXPECT_EQ(Matrix4::product(shift, twice)[3], 1.0f);

    Matrix4 flat{{1, 2, 3, 4, 2, 4, 6, 8, 0, 0, 1, 0, 0, 0, 0, 1}};
    inverse.setIdentity();
    EXPECT_FALSE(flat.invert(inverse));
    EXPECT_EQ(inverse[1], 0.0f) << "left as it was";
}

TEST(Colour4, setAndZero)
{
    vardel::math::Colour4 c;
    c.set(1, 0.5f, 0.25f, 1);
    EXPECT_EQ(c.green, 0.5f);
    c.setZero();
    EXPECT_EQ(c.red + c.green + c.blue + c.alpha, 0.0f);
}

TEST(Rectangle, originSizeAndOffset)
{
    Rectangle r(10, 20, 30, 40);
    EXPECT_EQ(r.origin().x, 10);
    EXPECT_EQ(r.size().y, 40);
    Rectangle moved = Rectangle::offset(r, Point(4, 5));
    EXPECT_EQ(moved.x, 6);
    EXPECT_EQ(moved.y, 15);
    EXPECT_EQ(moved.width, 30);
}

TEST(Transform, composeTranslateAndUnmap)
{
    Transform<float> identity;
    expectTransform(identity, 1, 0, 0, 0, 1, 0);
    EXPECT_EQ(identity.className(), "Object:Transform");

    Transform<float> shift(1, 0, 5, 0, 1, 7);
    Transform<float> composed = identity.composed(shift);
    expectTransform(composed, 1, 0, 5, 0, 1, 7);
    EXPECT_EQ(composed.refCount, 1);
    expectTransform(composed.translated(Point(2, 3)), 1, 0, 7, 0, 1, 10);

    // Order matters: the argument applies first.
    Transform<float> scale(2, 0, 0, 0, 3, 0);
    expectTransform(scale.composed(shift), 2, 0, 10, 0, 3, 21);
    expectTransform(shift.composed(scale), 2, 0, 5, 0, 3, 7);

    Rectangle r = Transform<float>(2, 0, 4, 0, 2, 6).unmapRectangle(Rectangle(10, 20, 30, 40));
    EXPECT_FLOAT_EQ(r.x, 3);
    EXPECT_FLOAT_EQ(r.y, 7);
    EXPECT_FLOAT_EQ(r.width, 15);
    EXPECT_FLOAT_EQ(r.height, 20);
}
