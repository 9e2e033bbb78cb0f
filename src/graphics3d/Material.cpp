#include "graphics3d/Material.h"

#include "graphics3d/Context.h"

namespace vardel::graphics3d {

Material::Material() = default;

Material::~Material()
{
    if (Context* context = Context::current())
        context->materials.remove(this);
}

void Material::apply() {}

bool Material::record(CallList&)
{
    return false;
}

} // namespace vardel::graphics3d
