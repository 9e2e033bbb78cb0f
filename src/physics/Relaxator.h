#pragma once

#include "container/Array.h"
#include "container/List.h"
#include "math/Vector3.h"
#include "object/Object.h"
#include "physics/Forward.h"
#include "physics/Spring.h"
#include "physics/SpringPack.h"
#include "physics/Weight.h"
#include "types/String.h"

namespace vardel::physics {

// Owns a set of weights and the springs between them and advances them in time. A step changes
// velocities only; the caller's integration function moves each free weight.
template <>
class Relaxator<float, 3> : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Relaxator)

    // Moves one weight by its velocity; given the weight and the step's time increment.
    using WeightCallback = void (*)(Weight<float, 3>* weight, const float* dt);

    Relaxator();

    // Building
    // Starts over with count fresh weights and no springs.
    void setWeightCount(unsigned count);
    // Indices are not checked: both must be below the weight count.
    void addSpring(unsigned a, unsigned b, float stiffness);
    // Makes the current positions the rest state and stops every weight.
    void captureRest();

    // Pins a weight or sets it free. Either way it starts from rest: a pinned weight gathers the
    // impulses of its springs without moving, and would fly off with them once set free.
    void setPinned(unsigned index, bool pinned);

    // Simulation
    // Runs the attached effects' beforeStep hooks, adds every spring's impulse to its ends, then
    // damps, accelerates and integrates each free weight, and ends with the effects' afterStep
    // hooks. Allocates nothing, except that a step without records copies the springs again when
    // they changed.
    void step(WeightCallback integrate, float dt);
    // For a solver that does not record springs: makes the next step copy the springs again, after
    // a spring's ends, rest length or stiffness were written directly.
    void springsChanged();

    // Effects
    // From the next step on, in the order attached, after telling the effect. Not counted: an effect
    // must be detached before it goes. Attaching one twice makes it act twice.
    void attach(Effect* effect);
    // False if it was not attached.
    bool detach(Effect* effect);
    // Takes out, for good, every spring for which broken(spring) is true, each from the list and
    // from its weights' chains, and returns how many went. Not during a step's spring pass.
    template <typename Test>
    unsigned removeSprings(Test broken)
    {
        unsigned removed = 0;
        for (SpringItem* item = springs.first; item != &springs.endItem;) {
            if (broken(static_cast<const Spring<float, 3>&>(item->value))) {
                item = removeSpring(item);
                ++removed;
            } else {
                item = item->next;
            }
        }
        return removed;
    }

    // The acceleration every free weight takes per time unit.
    math::Vector3<float> gravity;
    // Springs point into this storage: only setWeightCount resizes it, after dropping the springs.
    container::Array<Weight<float, 3>> weights;
    // The springs, in the order each step applies them.
    container::List<Spring<float, 3>> springs;
    // Exactly 0 selects each spring's own stiffness and the weights' masses; anything else is the
    // constant of one law for all springs, regardless of mass.
    float uniformStiffness;
    // Exponential damping rate of the velocities, per time unit.
    float damping;
    // The effects around each step, in order; not owned.
    container::Array<Effect*> effects;
    // True: each step walks the spring list, reads every spring as it is and records its length and
    // force. False: each step leaves the springs untouched and runs over its packed copy of them,
    // which is faster, most of all when the springs are not in the caches; the weights end up with
    // the same bits. The copy is made again after addSpring, captureRest, setWeightCount,
    // removeSprings, springsChanged or any other change of the list's first or last item or count.
    // A solver beyond the copy's reach (59 million weights or 134 million springs) walks the list
    // and records, as with true.
    bool recordsSprings;

private:
    using SpringItem = container::List<Spring<float, 3>>::Item;

    // Unlinks a spring from both chains and the list; returns the item that followed it.
    SpringItem* removeSpring(SpringItem* item);

    SpringPack pack;
};

} // namespace vardel::physics
