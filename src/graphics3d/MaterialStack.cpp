#include "graphics3d/MaterialStack.h"

#include "graphics3d/Material.h"

namespace vardel::graphics3d {

MaterialStack::MaterialStack() : current(nullptr) {}

void MaterialStack::set(Material* material)
{
    if (material == current)
        return;
    current = material;
    if (material)
        material->apply();
}

void MaterialStack::remove(Material* material)
{
    if (current == material)
        current = nullptr;
}

} // namespace vardel::graphics3d
