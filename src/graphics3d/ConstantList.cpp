#include "graphics3d/ConstantList.h"

namespace vardel::graphics3d {

ConstantList::ConstantList() = default;

} // namespace vardel::graphics3d
