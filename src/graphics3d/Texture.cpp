#include "graphics3d/Texture.h"

#include "graphics3d/Context.h"

namespace vardel::graphics3d {

Texture::Texture(GLuint textureName, GLenum target) : textureName(textureName), target(target) {}

Texture::~Texture()
{
    if (Context* context = Context::current())
        context->textures.remove(this);
}

} // namespace vardel::graphics3d
