#pragma once

#include "graphics3d/Resource.h"

namespace vardel::graphics3d {

class Material;
class Shader;
class Texture;

// What a mesh looks like: one material, one shader and up to eight textures, one per texture unit.
// Holds a reference on each.
class Appearance : public Resource {
    VARDEL_CLASS_PATH(Resource, Appearance)

    static constexpr int textureCount = 8;

    Appearance();
    ~Appearance() override;

    // Makes the shader, the material and the textures current through the stacks of the current
    // Context, in that order; empty slots leave the current state as it is.
    void apply();

    // Slots: each setter takes a reference on the new object, gives back the old one.
    void setMaterial(Material* material);
    void setShader(Shader* shader);
    void setTexture(int unit, Texture* texture);

    Material* material;
    Texture* textures[textureCount];
    Shader* shader;
};

} // namespace vardel::graphics3d
