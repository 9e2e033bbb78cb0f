#include "graphics3d/PointLight.h"

#include <algorithm>
#include <initializer_list>

#include "platform/OpenGL.h"

namespace vardel::graphics3d {

PointLight::PointLight()
    : ambient{0.1f, 0.1f, 0.1f, 0.0f}, diffuse{1.0f, 1.0f, 1.0f, 0.0f}, specular{1.0f, 1.0f, 1.0f, 0.0f},
      position{0.0f, 0.0f, 0.0f}, constantAttenuation(1.0f), linearAttenuation(0.0f), quadraticAttenuation(0.0f)
{
}

void PointLight::apply(int index)
{
    GLenum light = GL_LIGHT0 + index;
    // w = 1 makes the light positional.
    const float place[4] = {position[0], position[1], position[2], 1.0f};
    glLightfv(light, GL_AMBIENT, ambient);
    glLightfv(light, GL_DIFFUSE, diffuse);
    glLightfv(light, GL_SPECULAR, specular);
    glLightfv(light, GL_POSITION, place);
    glLightf(light, GL_CONSTANT_ATTENUATION, constantAttenuation);
    glLightf(light, GL_LINEAR_ATTENUATION, linearAttenuation);
    glLightf(light, GL_QUADRATIC_ATTENUATION, quadraticAttenuation);
    glLightf(light, GL_SPOT_CUTOFF, 180.0f);
    glLightf(light, GL_SPOT_EXPONENT, 0.0f);
}

void PointLight::setAmbient(float red, float green, float blue, float alpha)
{
    std::ranges::copy(std::initializer_list<float>{red, green, blue, alpha}, ambient);
}

void PointLight::setDiffuse(float red, float green, float blue, float alpha)
{
    std::ranges::copy(std::initializer_list<float>{red, green, blue, alpha}, diffuse);
}

void PointLight::setSpecular(float red, float green, float blue, float alpha)
{
    std::ranges::copy(std::initializer_list<float>{red, green, blue, alpha}, specular);
}

void PointLight::setPosition(float x, float y, float z)
{
    std::ranges::copy(std::initializer_list<float>{x, y, z}, position);
}

void PointLight::setConstantAttenuation(float factor)
{
    constantAttenuation = factor;
}

void PointLight::setLinearAttenuation(float factor)
{
    linearAttenuation = factor;
}

void PointLight::setQuadraticAttenuation(float factor)
{
    quadraticAttenuation = factor;
}

} // namespace vardel::graphics3d
