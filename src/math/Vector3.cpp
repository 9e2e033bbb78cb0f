#include "math/Vector3.h"

namespace vardel::math {

constinit const Vector3<float> zeroVector(0.0f, 0.0f, 0.0f);

} // namespace vardel::math
