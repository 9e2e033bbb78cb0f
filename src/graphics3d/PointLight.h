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
    // Sets the ambient colour.
    void setAmbient(float red, float green, float blue, float alpha);
    // Sets the diffuse colour.
    void setDiffuse(float red, float green, float blue, float alpha);
    // Sets the specular colour.
    void setSpecular(float red, float green, float blue, float alpha);
    // Sets the position, taken through the model-view matrix when the light is applied.
    void setPosition(float x, float y, float z);
    // Sets the constant term of the attenuation.
    void setConstantAttenuation(float factor);
    // Sets the term of the attenuation that grows with the distance.
    void setLinearAttenuation(float factor);
    // Sets the term of the attenuation that grows with the square of the distance.
    void setQuadraticAttenuation(float factor);

    // Red, green, blue and alpha of the ambient light.
    float ambient[4];
    // Red, green, blue and alpha of the diffuse light.
    float diffuse[4];
    // Red, green, blue and alpha of the specular light.
    float specular[4];
    // The position, x, y and z.
    float position[3];
    // The constant attenuation term.
    float constantAttenuation;
    // The linear attenuation term.
    float linearAttenuation;
    // The quadratic attenuation term.
    float quadraticAttenuation;
};

} // namespace vardel::graphics3d
