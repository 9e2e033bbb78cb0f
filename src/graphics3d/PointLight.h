#pragma once

#include "graphics3d/Light.h"

namespace vardel::graphics3d {

// A positional light that shines in every direction, with distance attenuation.
class PointLight : public Light {
    VARDEL_CLASS_PATH(Light, PointLight)

    // Dim grey ambient, white diffuse and specular, at the origin, unattenuated.
    PointLight();

    // The position is taken through the model-view matrix current at the time.
    void apply(int index) override;

    // Parameters
    void setAmbient(float red, float green, float blue, float alpha);
    void setDiffuse(float red, float green, float blue, float alpha);
    void setSpecular(float red, float green, float blue, float alpha);
    void setPosition(float x, float y, float z);
    void setConstantAttenuation(float factor);
    void setLinearAttenuation(float factor);
    void setQuadraticAttenuation(float factor);

    float ambient[4];
    float diffuse[4];
    float specular[4];
    float position[3];
    float constantAttenuation;
    float linearAttenuation;
    float quadraticAttenuation;
};

} // namespace vardel::graphics3d
