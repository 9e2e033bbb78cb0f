#include "physics/Effect.h"

namespace vardel::physics {

void Effect::attached(Relaxator<float, 3>&) {}

void Effect::beforeStep(Relaxator<float, 3>&, float) {}

void Effect::afterStep(Relaxator<float, 3>&, float) {}

} // namespace vardel::physics
