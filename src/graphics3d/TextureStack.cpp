#include "graphics3d/TextureStack.h"

#include "graphics3d/Extensions.h"
#include "graphics3d/Texture.h"

namespace vardel::graphics3d {

TextureStack::TextureStack() : bound{}
{
    for (GLenum& target : targets)
        target = GL_TEXTURE_2D;
}

void TextureStack::set(int unit, Texture* texture)
{
    if (texture == bound[unit])
        return;
    if (glActiveTextureARB)
        glActiveTextureARB(GL_TEXTURE0_ARB + unit);
    else if (unit != 0)
        return;
    bound[unit] = texture;
    if (texture->target != targets[unit]) {
        if (glIsEnabled(targets[unit])) {
            glDisable(targets[unit]);
            glEnable(texture->target);
        }
        targets[unit] = texture->target;
    }
    glBindTexture(texture->target, texture->textureName);
}

void TextureStack::remove(Texture* texture)
{
    for (Texture*& slot : bound) {
        if (slot == texture)
            slot = nullptr;
    }
}

} // namespace vardel::graphics3d
