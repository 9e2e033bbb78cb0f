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

    // Texture units an appearance can fill.
    static constexpr int textureCount = 8;

    Appearance();
    ~Appearance() override;

    // Makes the shader, the material and the textures current through the stacks of the current
    // Context, in that order; empty slots leave the current state as it is.
    void apply();

    // Slots: each setter takes a reference on the new object, gives back the old one.
    void setMaterial(Material* material);
    // Sets the shader that draws the mesh.
    void setShader(Shader* shader);
    // Sets the texture of a unit from 0 to 7; other units are ignored.
    void setTexture(int unit, Texture* texture);

    // The material, or null.
    Material* material;
    // The texture of each unit, or null.
    Texture* textures[textureCount];
    // The shader, or null.
    Shader* shader;
};

} // namespace vardel::graphics3d
