#include "graphics3d/ColourMaterial.h"

#include <algorithm>
#include <initializer_list>

#include "platform/OpenGL.h"
#include "graphics3d/CallList.h"

namespace vardel::graphics3d {

ColourMaterial::ColourMaterial() : ambient{}, diffuse{}, specular{}, emission{}, shininess(0.0f) {}

template <typename Sink>
void ColourMaterial::issue(Sink&& sink)
{
    sink(glMaterialfv, GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    sink(glMaterialfv, GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    sink(glMaterialfv, GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    sink(glMaterialfv, GL_FRONT_AND_BACK, GL_EMISSION, emission);
    sink(glMaterialf, GL_FRONT_AND_BACK, GL_SHININESS, shininess);
    sink(glColorMaterial, GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    sink(glColor4fv, ambient);
}

void ColourMaterial::apply()
{
    issue([](auto function, auto... arguments) { function(arguments...); });
}

bool ColourMaterial::record(CallList& list)
{
    issue([&list](auto function, auto... arguments) { list.appendCall(function, arguments...); });
    return true;
}

void ColourMaterial::setAmbient(float red, float green, float blue, float alpha)
{
    std::ranges::copy(std::initializer_list<float>{red, green, blue, alpha}, ambient);
}

void ColourMaterial::setDiffuse(float red, float green, float blue, float alpha)
{
    std::ranges::copy(std::initializer_list<float>{red, green, blue, alpha}, diffuse);
}

void ColourMaterial::setSpecular(float red, float green, float blue, float alpha)
{
    std::ranges::copy(std::initializer_list<float>{red, green, blue, alpha}, specular);
}

void ColourMaterial::setEmission(float red, float green, float blue, float alpha)
{
    std::ranges::copy(std::initializer_list<float>{red, green, blue, alpha}, emission);
}

} // namespace vardel::graphics3d
