#pragma once

#include "graphics3d/Resource.h"

namespace vardel::graphics3d {

class CallList;

// The lighting material of the geometry drawn. Made current through the MaterialStack of the
// current Context. The base material sets nothing.
class Material : public Resource {
    VARDEL_CLASS_PATH(Resource, Material)

    Material();
    // Leaves the current Context's material record when it names this material; OpenGL is not
    // touched.
    ~Material() override;

    // Sends the material to OpenGL.
    virtual void apply();
    // Appends the calls of apply() to the list; false when the material has nothing to record.
    virtual bool record(CallList& list);
};

} // namespace vardel::graphics3d
