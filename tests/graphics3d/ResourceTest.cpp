#include "graphics3d/Appearance.h"

#include <gtest/gtest.h>

#include "graphics3d/ColourMaterial.h"
#include "graphics3d/PlainShader.h"
#include "graphics3d/Program.h"
#include "graphics3d/Texture.h"

using namespace vardel::graphics3d;

namespace {

class NullProgram : public Program {
public:
    explicit NullProgram(std::uint32_t needs) { arrays = needs; }
    void bind() override {}
    void unbind() override {}
};

} // namespace

TEST(Resource, NameIsTheResourceName)
{
    ColourMaterial material;
    EXPECT_EQ(material.getName(), "");
    material.name = "cloth";
    EXPECT_EQ(material.getName(), "cloth");
    EXPECT_EQ(material.className(), "Object:Resource:Material:ColourMaterial");
}

TEST(Appearance, HoldsAReferenceOnEverythingItCarries)
{
    auto* material = new ColourMaterial();
    auto* shader = new PlainShader();
    auto* texture = new Texture(7, GL_TEXTURE_2D);
    {
        Appearance appearance;
        appearance.setMaterial(material);
        appearance.setShader(shader);
        appearance.setTexture(3, texture);
        EXPECT_EQ(material->refCount.load(), 2);
        EXPECT_EQ(shader->refCount.load(), 2);
        EXPECT_EQ(texture->refCount.load(), 2);

        // Setting the same object again keeps one reference; replacing gives it back.
        appearance.setMaterial(material);
        EXPECT_EQ(material->refCount.load(), 2);
        appearance.setMaterial(nullptr);
        EXPECT_EQ(material->refCount.load(), 1);
        appearance.setMaterial(material);
    }
    EXPECT_EQ(material->refCount.load(), 1);
    EXPECT_EQ(shader->refCount.load(), 1);
    EXPECT_EQ(texture->refCount.load(), 1);
    material->release();
    shader->release();
    texture->release();
}

TEST(PlainShader, ArraysAreTheBaseArraysAndThoseOfItsPrograms)
{
    PlainShader shader;
    EXPECT_EQ(shader.arrays, Shader::vertexArray | Shader::normalArray);

    auto* primary = new NullProgram(Shader::colourArray);
    auto* secondary = new NullProgram(Shader::textureCoordinateArray << 2);
    shader.setPrimaryProgram(primary);
    shader.setSecondaryProgram(secondary);
    EXPECT_EQ(shader.arrays, 0x4015u);
    EXPECT_EQ(primary->refCount.load(), 2);

    shader.baseArrays = Shader::vertexArray;
    shader.update();
    EXPECT_EQ(shader.arrays, 0x4011u);

    shader.setPrimaryProgram(nullptr);
    EXPECT_EQ(primary->refCount.load(), 1);
    EXPECT_EQ(shader.arrays, 0x4001u);
    primary->release();
    secondary->release();
}
