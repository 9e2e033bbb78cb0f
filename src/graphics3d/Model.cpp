#include "graphics3d/Model.h"

namespace vardel::graphics3d {

Model::Model() : modelTag(0) {}

void Model::reservedOperation(std::uintptr_t, std::uintptr_t, std::uintptr_t) {}

bool Model::reservedQuery()
{
    return false;
}

void Model::clearJoints()
{
    joints.clear();
}

void Model::resetBounds()
{
    bounds.axisX = math::zeroVector;
    bounds.axisY = math::zeroVector;
    bounds.axisZ = math::zeroVector;
    bounds.auxiliary = math::zeroVector;
}

void Model::setBounds(const Bounds& newBounds)
{
    bounds = newBounds;
}

} // namespace vardel::graphics3d
