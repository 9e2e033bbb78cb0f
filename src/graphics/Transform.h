#pragma once

#include "math/Point.h"
#include "math/Rectangle.h"
#include "object/Object.h"
#include "types/String.h"

namespace vardel::graphics {

// 2D affine transform [[a, b, tx], [c, d, ty]]: (x, y) maps to (a x + b y + tx, c x + d y + ty).
template <typename T>
class Transform : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Transform)

    Transform() : a(1), b(0), tx(0), c(0), d(1), ty(0) {}
    // The transform [[a, b, tx], [c, d, ty]].
    Transform(T a, T b, T tx, T c, T d, T ty) : a(a), b(b), tx(tx), c(c), d(d), ty(ty) {}

    // This transform followed by a shift by p.
    Transform translated(const math::Point& p) const { return Transform(a, b, tx + p.x, c, d, ty + p.y); }

    // This transform applied after t.
    Transform composed(const Transform& t) const
    {
        return Transform(a * t.a + b * t.c, a * t.b + b * t.d, a * t.tx + b * t.ty + tx,
                         c * t.a + d * t.c, c * t.b + d * t.d, c * t.tx + d * t.ty + ty);
    }

    // The inverse image of r; exact for the scale-and-translate transforms that views build.
    math::Rectangle unmapRectangle(const math::Rectangle& r) const
    {
        T g = T(1) / (a * d - c * b);
        return math::Rectangle(d * g * (r.x - tx), a * g * (r.y - ty), d * g * r.width, a * g * r.height);
    }

    // x's share of x.
    T a;
    // y's share of x.
    T b;
    // The shift of x.
    T tx;
    // x's share of y.
    T c;
    // y's share of y.
    T d;
    // The shift of y.
    T ty;
};

} // namespace vardel::graphics
