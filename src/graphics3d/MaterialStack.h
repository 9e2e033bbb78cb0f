#pragma once

#include "object/Object.h"
#include "types/String.h"

namespace vardel::graphics3d {

class Material;

// The material last applied. The pointer is an observer: a material clears it when destroyed.
class MaterialStack : public object::Object {
    VARDEL_CLASS_PATH(object::Object, MaterialStack)

    MaterialStack();

    // Records the material and applies it, unless it is the current one. The outgoing material is
    // not told; null only forgets the current one.
    void set(Material* material);
    // Forgets a material that is being destroyed, without touching OpenGL.
    void remove(Material* material);

    // The material last applied, or null.
    Material* current;
};

} // namespace vardel::graphics3d
