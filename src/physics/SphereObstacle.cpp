#include "physics/SphereObstacle.h"

#include "physics/Relaxator.h"

namespace vardel::physics {

SphereObstacle::SphereObstacle(const math::Vector3<float>& centre, float radius)
    : centre(centre), radius(radius), friction(0.05f)
{
}

void SphereObstacle::afterStep(Relaxator<float, 3>& solver, float)
{
    using Vector = math::Vector3<float>;
    const float radiusSquared = radius * radius;
    for (Weight<float, 3>& weight : solver.weights) {
        Vector out = Vector::difference(weight.position, centre);
        float distanceSquared = out.x * out.x + out.y * out.y + out.z * out.z;
        if (distanceSquared >= radiusSquared || weight.pinned)
            continue;
        // A weight at the very centre has no way out of its own: it leaves upwards.
        if (distanceSquared > 0.0f)
            out.normalise();
        else
            out.set(0, 0, 1);
        weight.position = Vector(centre.x + out.x * radius, centre.y + out.y * radius, centre.z + out.z * radius);
        float outward = weight.velocity.x * out.x + weight.velocity.y * out.y + weight.velocity.z * out.z;
        Vector along = Vector::scaled(1.0f - friction, Vector::difference(weight.velocity, Vector::scaled(outward, out)));
        if (outward > 0.0f)
            along.add(Vector::scaled(outward, out));
        weight.velocity = along;
    }
}

} // namespace vardel::physics
