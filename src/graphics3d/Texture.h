#pragma once

#include "object/Object.h"
#include "platform/OpenGL.h"
#include "types/String.h"

namespace vardel::graphics3d {

// What appearances need of a texture: its OpenGL texture name and target. Subclasses own the
// texture itself.
class Texture : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Texture)

    // A record of an OpenGL texture name and its target, such as GL_TEXTURE_2D.
    Texture(GLuint textureName, GLenum target);
    // Leaves the texture units of the current Context that still record it.
    ~Texture() override;

    // The OpenGL texture name.
    GLuint textureName;
    // The target it is bound to, such as GL_TEXTURE_2D.
    GLenum target;
};

} // namespace vardel::graphics3d
