#include "physics/Relaxator.h"

#include <algorithm>
#include <cmath>

#include "physics/Effect.h"
#include "physics/SpringLaw.h"

namespace vardel::physics {

namespace {

using Vector = math::Vector3<float>;
using WeightF = Weight<float, 3>;
using SpringF = Spring<float, 3>;

// Each spring's stiffness and dt; the ends' masses scale the impulses. The recorded force is the
// impulse on A before the division by its mass.
struct PerSpringLaw {
    Vector force(const SpringF& spring, const Vector& d, float len) const
    {
        // (rest - len) / len, as the negated stretch.
        return Vector::scaled(-stretch(len, spring.restLength) * spring.stiffness * dt, d);
    }
    static Vector impulseOnA(const Vector& f, const WeightF& a) { return Vector::scaled(inverseMass(a.mass), f); }
    static Vector impulseOnB(const Vector& f, const WeightF& b) { return Vector::scaled(-inverseMass(b.mass), f); }

    float dt;
};

// One constant for every spring, masses ignored. The recorded force is the impulse on B.
struct UniformLaw {
    Vector force(const SpringF& spring, const Vector& d, float len) const
    {
        return Vector::scaled(kdt * stretch(len, spring.restLength), d);
    }
    static Vector impulseOnA(const Vector& f, const WeightF&) { return Vector::scaled(-1.0f, f); }
    static Vector impulseOnB(const Vector& f, const WeightF&) { return f; }

    float kdt;
};

// Adds every spring's impulses to its ends' velocities, in list order. Consecutive springs mostly
// share their first weight (builders add a weight's springs together), so that weight's velocity
// is carried in registers for the run and stored once: the additions keep their order, but the
// run costs one memory round trip instead of one per spring.
template <typename Law>
void applySprings(container::List<SpringF>& springs, const Law& law)
{
    WeightF* run = nullptr;
    Vector runVelocity(0, 0, 0);
    for (SpringF& spring : springs) {
        WeightF& a = *spring.weightA;
        WeightF& b = *spring.weightB;
        Vector d = Vector::difference(a.position, b.position);
        float len = d.length();
        // Stored here, not beside the force: GCC would merge the two stores into one vector store
        // and compute the impulse a second time to feed it, a quarter slower.
        spring.length = len;
        Vector f = law.force(spring, d, len);
        if (&a != run) {
            if (run)
                run->velocity = runVelocity;
            run = &a;
            runVelocity = a.velocity;
        }
        runVelocity.add(Law::impulseOnA(f, a));
        // Only a spring from a weight to itself ends at the run's weight.
        if (&b == run)
            runVelocity.add(Law::impulseOnB(f, b));
        else
            b.velocity.add(Law::impulseOnB(f, b));
        spring.force = f;
    }
    if (run)
        run->velocity = runVelocity;
}

} // namespace

Relaxator<float, 3>::Relaxator() : gravity(0, 0, 0), uniformStiffness(0.0f), damping(0.0f), recordsSprings(true)
{
    // A cloth is built once and large: doubling blocks would leave up to half of its slots unused.
    springs.pool.capped = true;
}

void Relaxator<float, 3>::setWeightCount(unsigned count)
{
    weights.clear();
    springs.clear();
    weights.resize(count);
    pack.invalidate();
}

void Relaxator<float, 3>::addSpring(unsigned a, unsigned b, float stiffness)
{
    SpringF& spring = springs.append()->value;
    spring.stiffness = stiffness;
    spring.weightA = &weights[a];
    spring.weightB = &weights[b];
    spring.nextAtA = spring.weightA->firstSpring;
    spring.nextAtB = spring.weightB->firstSpring;
    spring.weightB->firstSpring = &spring;
    spring.weightA->firstSpring = &spring;
    pack.invalidate();
}

void Relaxator<float, 3>::captureRest()
{
    for (SpringF& spring : springs) {
        float d = Vector::difference(spring.weightA->position, spring.weightB->position).length();
        spring.restLength = d;
        spring.length = d;
        spring.force.setZero();
    }
    for (WeightF& weight : weights)
        weight.velocity.setZero();
    pack.invalidate();
}

void Relaxator<float, 3>::springsChanged()
{
    pack.invalidate();
}

void Relaxator<float, 3>::setPinned(unsigned index, bool pinned)
{
    weights[index].pinned = pinned;
    weights[index].velocity.setZero();
}

void Relaxator<float, 3>::step(WeightCallback integrate, float dt)
{
    for (Effect* effect : effects)
        effect->beforeStep(*this, dt);
    if (!recordsSprings && pack.prepare(*this))
        pack.applySprings(*this, dt);
    else if (uniformStiffness == 0.0f)
        applySprings(springs, PerSpringLaw{dt});
    else
        applySprings(springs, UniformLaw{dt * uniformStiffness});

    float damp = std::exp(-dt * damping);
    Vector g = Vector::scaled(dt, gravity);
    for (WeightF& weight : weights) {
        if (weight.pinned)
            continue;
        weight.velocity = Vector::scaled(damp, weight.velocity);
        weight.velocity.add(g);
        integrate(&weight, &dt);
    }
    for (Effect* effect : effects)
        effect->afterStep(*this, dt);
}

void Relaxator<float, 3>::attach(Effect* effect)
{
    effects.resize(effects.count + 1);
    effects[effects.count - 1] = effect;
    effect->attached(*this);
}

bool Relaxator<float, 3>::detach(Effect* effect)
{
    Effect** end = std::remove(effects.begin(), effects.end(), effect);
    bool found = end != effects.end();
    effects.resize(static_cast<std::uint32_t>(end - effects.begin()));
    return found;
}

Relaxator<float, 3>::SpringItem* Relaxator<float, 3>::removeSpring(SpringItem* item)
{
    SpringF* spring = &item->value;
    // Each chain continues through nextAtA where its weight is the spring's A end, else nextAtB.
    for (WeightF* end : {spring->weightA, spring->weightB}) {
        SpringF** link = &end->firstSpring;
        while (*link && *link != spring)
            link = (*link)->weightA == end ? &(*link)->nextAtA : &(*link)->nextAtB;
        if (*link)
            *link = spring->weightA == end ? spring->nextAtA : spring->nextAtB;
    }
    pack.invalidate();
    return springs.remove(item);
}

} // namespace vardel::physics
