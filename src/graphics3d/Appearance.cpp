#include "graphics3d/Appearance.h"

#include "graphics3d/Context.h"
#include "graphics3d/Counted.h"
#include "graphics3d/Material.h"
#include "graphics3d/Shader.h"
#include "graphics3d/Texture.h"

namespace vardel::graphics3d {

Appearance::Appearance() : material(nullptr), textures{}, shader(nullptr) {}

Appearance::~Appearance()
{
    replaceCounted(shader, nullptr);
    for (Texture*& texture : textures)
        replaceCounted(texture, nullptr);
    replaceCounted(material, nullptr);
}

void Appearance::apply()
{
    Context* context = Context::get();
    if (shader)
        context->shaders.set(shader);
    if (material)
        context->materials.set(material);
    for (int unit = 0; unit < textureCount; ++unit) {
        if (textures[unit])
            context->textures.set(unit, textures[unit]);
    }
}

void Appearance::setMaterial(Material* newMaterial)
{
    replaceCounted(material, newMaterial);
}

void Appearance::setShader(Shader* newShader)
{
    replaceCounted(shader, newShader);
}

void Appearance::setTexture(int unit, Texture* texture)
{
    replaceCounted(textures[unit], texture);
}

} // namespace vardel::graphics3d
