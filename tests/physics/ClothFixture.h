#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "math/Vector3.h"
#include "physics/Relaxator.h"

// The pinned cloth the demo simulates, and the same step written as a plain loop over contiguous
// arrays: the reference the solver is checked and timed against.
namespace vardel::physics::cloth {

using Solver = Relaxator<float, 3>;
using Vector = math::Vector3<float>;

// Moves a weight by its velocity over the step.
inline void integrateWeight(Weight<float, 3>* weight, const float* dt)
{
    weight->position.add(Vector::scaled(*dt, weight->velocity));
}

// A grid of width x height weights 10 units apart, row by row; each weight is joined to its right,
// lower, lower-right and lower-left neighbours in that order; the corners are pinned.
inline void build(Solver& solver, unsigned width, unsigned height)
{
    solver.setWeightCount(width * height);
    for (unsigned row = 0; row < height; ++row) {
        for (unsigned column = 0; column < width; ++column) {
            unsigned i = row * width + column;
            if (column + 1 < width)
                solver.addSpring(i, i + 1, 1.0f);
            if (row + 1 < height) {
                solver.addSpring(i, i + width, 1.0f);
                if (column + 1 < width)
                    solver.addSpring(i, i + width + 1, 1.0f);
                if (column > 0)
                    solver.addSpring(i, i + width - 1, 1.0f);
            }
            solver.weights[i].position.set(10.0f * (static_cast<float>(row) - static_cast<float>(height) * 0.5f),
                                           10.0f * (static_cast<float>(column) - static_cast<float>(width) * 0.5f),
                                           0.0f);
        }
    }
    solver.captureRest();
    solver.gravity.set(0.0f, 0.0f, -9.8f);
    solver.uniformStiffness = 60.0f;
    solver.damping = 0.1f;
    for (unsigned corner : {0u, width - 1, (height - 1) * width, width * height - 1})
        solver.weights[corner].pinned = true;
}

// The solver's uniform-law step as a plain loop over arrays of positions, velocities and spring ends, adding
// the impulses in the solver's spring order.
struct PlainSolver {
    explicit PlainSolver(Solver& solver)
        : gravity(solver.gravity), uniformStiffness(solver.uniformStiffness), damping(solver.damping)
    {
        for (const Weight<float, 3>& weight : solver.weights) {
            positions.push_back(weight.position);
            velocities.push_back(weight.velocity);
            pinned.push_back(weight.pinned);
        }
        for (const Spring<float, 3>& spring : solver.springs) {
            ends.push_back(static_cast<std::uint32_t>(spring.weightA - solver.weights.elements));
            ends.push_back(static_cast<std::uint32_t>(spring.weightB - solver.weights.elements));
            restLengths.push_back(spring.restLength);
        }
    }

    void step(float dt)
    {
        float kdt = dt * uniformStiffness;
        for (std::size_t i = 0; i < restLengths.size(); ++i) {
            Vector& va = velocities[ends[2 * i]];
            Vector& vb = velocities[ends[2 * i + 1]];
            Vector d = Vector::difference(positions[ends[2 * i]], positions[ends[2 * i + 1]]);
            float len = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
            float s = kdt * ((len - restLengths[i]) / len);
            va.x -= d.x * s;
            va.y -= d.y * s;
            va.z -= d.z * s;
            vb.x += d.x * s;
            vb.y += d.y * s;
            vb.z += d.z * s;
        }
        float damp = std::exp(-dt * damping);
        Vector g = Vector::scaled(dt, gravity);
        for (std::size_t i = 0; i < positions.size(); ++i) {
            if (pinned[i])
                continue;
            Vector& v = velocities[i];
            v.x = v.x * damp + g.x;
            v.y = v.y * damp + g.y;
            v.z = v.z * damp + g.z;
            positions[i].x += v.x * dt;
            positions[i].y += v.y * dt;
            positions[i].z += v.z * dt;
        }
    }

    std::vector<Vector> positions;
    std::vector<Vector> velocities;
    std::vector<unsigned char> pinned;
    std::vector<std::uint32_t> ends;
    std::vector<float> restLengths;
    Vector gravity;
    float uniformStiffness;
    float damping;
};

} // namespace vardel::physics::cloth
