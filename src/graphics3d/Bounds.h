#pragma once

#include "math/Vector3.h"

namespace vardel::graphics3d {

// An oriented box: p lies in it when p = center + u axisX + v axisY + w axisZ with u, v, w in
// [-1, 1]. auxiliary is zeroed by Model::resetBounds and read by nothing.
struct Bounds {
    // The middle of the box.
    math::Vector3<float> center;
    // Half of the box's first edge.
    math::Vector3<float> axisX;
    // Half of the box's second edge.
    math::Vector3<float> axisY;
    // Half of the box's third edge.
    math::Vector3<float> axisZ;
    // Spare; zero after Model::resetBounds.
    math::Vector3<float> auxiliary;
};

// The axis-aligned box from min to max; auxiliary is left unset.
inline Bounds boundsFromBox(const math::Vector3<float>& min, const math::Vector3<float>& max)
{
    Bounds bounds;
    bounds.center.set((min.x + max.x) * 0.5f, (min.y + max.y) * 0.5f, (min.z + max.z) * 0.5f);
    bounds.axisX.set((max.x - min.x) * 0.5f, 0, 0);
    bounds.axisY.set(0, (max.y - min.y) * 0.5f, 0);
    bounds.axisZ.set(0, 0, (max.z - min.z) * 0.5f);
    return bounds;
}

} // namespace vardel::graphics3d
