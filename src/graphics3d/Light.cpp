#include "graphics3d/Light.h"

#include "graphics3d/Context.h"

namespace vardel::graphics3d {

Light::Light() = default;

Light::~Light()
{
    if (Context* context = Context::current())
        context->lights.remove(this);
}

} // namespace vardel::graphics3d
