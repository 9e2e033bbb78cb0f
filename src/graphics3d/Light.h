#pragma once

#include "graphics3d/Resource.h"

namespace vardel::graphics3d {

// A light that can be placed in one of OpenGL's light slots through the LightStack of the current
// Context.
class Light : public Resource {
    VARDEL_CLASS_PATH(Resource, Light)

    Light();
    // Empties and disables every slot of the current Context's LightStack that holds this light.
    ~Light() override;

    // Sends the light's parameters to OpenGL light GL_LIGHT0 + index.
    virtual void apply(int index) = 0;
};

} // namespace vardel::graphics3d
