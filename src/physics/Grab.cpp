#include "physics/Grab.h"

#include "physics/Relaxator.h"

namespace vardel::physics {

Grab::Grab() : holding(false), index(0), target(0, 0, 0), wasPinned(false), motion(0, 0, 0) {}

void Grab::hold(Relaxator<float, 3>& solver, unsigned weight)
{
    release(solver);
    Weight<float, 3>& held = solver.weights[weight];
    holding = true;
    index = weight;
    target = held.position;
    wasPinned = held.pinned;
    motion.setZero();
    // Pinned, the solver neither damps, accelerates nor integrates it: the step leaves it where
    // this effect puts it.
    held.pinned = true;
}

void Grab::moveTo(const math::Vector3<float>& point)
{
    target = point;
}

void Grab::release(Relaxator<float, 3>& solver)
{
    if (!holding)
        return;
    Weight<float, 3>& held = solver.weights[index];
    held.pinned = wasPinned;
    held.velocity = wasPinned ? math::Vector3<float>(0, 0, 0) : motion;
    holding = false;
}

void Grab::forget()
{
    holding = false;
}

void Grab::beforeStep(Relaxator<float, 3>& solver, float dt)
{
    if (!holding)
        return;
    Weight<float, 3>& held = solver.weights[index];
    motion = dt > 0.0f ? math::Vector3<float>::scaled(1.0f / dt, math::Vector3<float>::difference(target, held.position))
                       : math::Vector3<float>(0, 0, 0);
    held.position = target;
}

void Grab::afterStep(Relaxator<float, 3>& solver, float)
{
    // The springs' impulses gathered in the held weight while it stood still for them.
    if (holding)
        solver.weights[index].velocity = motion;
}

} // namespace vardel::physics
