#pragma once

#include "object/Object.h"
#include "platform/OpenGL.h"
#include "types/String.h"

namespace vardel::graphics3d {

// What appearances need of a texture: its OpenGL texture name and target. Subclasses own the
// texture itself.
class Texture : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Texture)

    Texture(GLuint textureName, GLenum target);
    // Leaves the texture units of the current Context that still record it.
    ~Texture() override;

    GLuint textureName;
    GLenum target;
};

} // namespace vardel::graphics3d
