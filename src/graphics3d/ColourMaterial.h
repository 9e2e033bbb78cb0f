#pragma once

#include "graphics3d/Material.h"

namespace vardel::graphics3d {

// A material of plain colours, the same on both faces; the vertex colour stands for its ambient and
// diffuse colour wherever colour material tracking is enabled.
class ColourMaterial : public Material {
    VARDEL_CLASS_PATH(Material, ColourMaterial)

    // Every colour and the shininess 0.
    ColourMaterial();

    void apply() override;
    // Records the seven calls of apply(); the colours as pointers to this material's own arrays, so
    // a replay sees later changes to them.
    bool record(CallList& list) override;

    // Colours
    // Sets the ambient colour.
    void setAmbient(float red, float green, float blue, float alpha);
    // Sets the diffuse colour.
    void setDiffuse(float red, float green, float blue, float alpha);
    // Sets the specular colour.
    void setSpecular(float red, float green, float blue, float alpha);
    // Sets the colour the material gives off by itself.
    void setEmission(float red, float green, float blue, float alpha);

    // Red, green, blue and alpha of the ambient colour.
    float ambient[4];
    // Red, green, blue and alpha of the diffuse colour.
    float diffuse[4];
    // Red, green, blue and alpha of the specular colour.
    float specular[4];
    // Red, green, blue and alpha of the emitted colour.
    float emission[4];
    // The specular exponent, from 0 to 128.
    float shininess;

private:
    // Hands each call of the material, function then arguments, to the sink.
    template <typename Sink>
    void issue(Sink&& sink);
};

} // namespace vardel::graphics3d
