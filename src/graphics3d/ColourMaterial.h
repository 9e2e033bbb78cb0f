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
    void setAmbient(float red, float green, float blue, float alpha);
    void setDiffuse(float red, float green, float blue, float alpha);
    void setSpecular(float red, float green, float blue, float alpha);
    void setEmission(float red, float green, float blue, float alpha);

    float ambient[4];
    float diffuse[4];
    float specular[4];
    float emission[4];
    float shininess;

private:
    // Hands each call of the material, function then arguments, to the sink.
    template <typename Sink>
    void issue(Sink&& sink);
};

} // namespace vardel::graphics3d
