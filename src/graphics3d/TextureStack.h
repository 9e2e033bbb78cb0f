#pragma once

#include "object/Object.h"
#include "platform/OpenGL.h"
#include "types/String.h"

namespace vardel::graphics3d {

class Texture;

// The texture bound to each of eight texture units and the target enabled there. The texture
// pointers are observers: a texture clears them when destroyed.
class TextureStack : public object::Object {
    VARDEL_CLASS_PATH(object::Object, TextureStack)

    // Texture units recorded.
    static constexpr int unitCount = 8;

    TextureStack();

    // Unless the (non-null) texture is the one recorded for the unit: records it, selects the unit
    // and binds the texture, moving the enabled target to the texture's when the unit's target was enabled.
    // A driver without multitexture has only unit 0; other units are left alone there.
    void set(int unit, Texture* texture);
    // Forgets a texture that is being destroyed, without touching OpenGL.
    void remove(Texture* texture);

    // The texture recorded for each unit, or null.
    Texture* bound[unitCount];
    // The target enabled on each unit, or 0.
    GLenum targets[unitCount];
};

} // namespace vardel::graphics3d
