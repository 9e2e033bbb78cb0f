#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "support/GLWindow.h"
#include "graphics3d/Appearance.h"
#include "graphics3d/Camera.h"
#include "graphics3d/ColourMaterial.h"
#include "graphics3d/Context.h"
#include "graphics3d/Mode.h"
#include "graphics3d/PlainShader.h"
#include "graphics3d/PointLight.h"
#include "graphics3d/Program.h"
#include "graphics3d/Texture.h"

using namespace vardel::graphics3d;

namespace {

bool enabled(GLenum capability)
{
    return glIsEnabled(capability) == GL_TRUE;
}

GLint integer(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

std::vector<float> floats(GLenum name, int count)
{
    std::vector<float> values(count);
    glGetFloatv(name, values.data());
    return values;
}

void expectMatrix(const std::vector<float>& actual, const std::vector<float>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-5f * (1 + std::fabs(expected[i]))) << "element " << i;
}

// Writes what happens to it into a shared log.
class LoggingMode : public Mode {
public:
    LoggingMode(std::string name, std::vector<std::string>& log) : label(std::move(name)), log(log) {}
    void enter() override
    {
        log.push_back(label + ".enter");
        Mode::enter();
    }
    void leave() override { log.push_back(label + ".leave"); }
    std::string label;
    std::vector<std::string>& log;
};

class CountingLight : public PointLight {
public:
    void apply(int index) override
    {
        ++applied;
        PointLight::apply(index);
    }
    int applied = 0;
};

class CountingMaterial : public ColourMaterial {
public:
    void apply() override
    {
        ++applied;
        ColourMaterial::apply();
    }
    int applied = 0;
};

class CountingProgram : public Program {
public:
    void bind() override { ++bound; }
    void unbind() override { ++unbound; }
    int bound = 0;
    int unbound = 0;
};

// Makes an appearance with just a shader of the given client arrays.
std::unique_ptr<Appearance, void (*)(Appearance*)> shaderAppearance(std::uint32_t arrays)
{
    auto* shader = new PlainShader();
    shader->baseArrays = arrays;
    shader->update();
    auto* appearance = new Appearance();
    appearance->setShader(shader);
    shader->release();
    return {appearance, [](Appearance* a) { a->release(); }};
}

} // namespace

TEST_F(GLTest, DefaultModeTurnsEveryTestOff)
{
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_STENCIL_TEST);
    glEnable(GL_BLEND);
    glEnable(GL_ALPHA_TEST);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_TRUE);
    glDepthRange(0.25, 0.5);

    Mode mode;
    context->modes.set(&mode);
    EXPECT_FALSE(enabled(GL_DEPTH_TEST));
    EXPECT_FALSE(enabled(GL_STENCIL_TEST));
    EXPECT_FALSE(enabled(GL_BLEND));
    EXPECT_FALSE(enabled(GL_ALPHA_TEST));
    EXPECT_EQ(integer(GL_DEPTH_WRITEMASK), GL_FALSE);
    GLboolean colourMask[4];
    glGetBooleanv(GL_COLOR_WRITEMASK, colourMask);
    EXPECT_TRUE(colourMask[0] && colourMask[1] && colourMask[2] && colourMask[3]);
    EXPECT_EQ(floats(GL_DEPTH_RANGE, 2), (std::vector<float>{0.0f, 1.0f}));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(GLTest, DepthModeTestsAndWritesDepth)
{
    ASSERT_NE(glBlendEquationEXT, nullptr);
    glBlendEquationEXT(GL_MIN_EXT);

    Mode mode;
    mode.depthFunction = GL_LESS;
    mode.depthWrite = true;
    context->modes.set(&mode);
    EXPECT_TRUE(enabled(GL_DEPTH_TEST));
    EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_LESS);
    EXPECT_EQ(integer(GL_DEPTH_WRITEMASK), GL_TRUE);
    EXPECT_EQ(integer(GL_BLEND_EQUATION_EXT), GL_FUNC_ADD_EXT);

    // Blending stays off only for GL_ONE, GL_ZERO.
    Mode additive;
    additive.blendDestination = GL_ONE;
    context->modes.set(&additive);
    EXPECT_TRUE(enabled(GL_BLEND));
    EXPECT_EQ(integer(GL_BLEND_DST), GL_ONE);
}

TEST_F(GLTest, ModesAreEnteredOnlyOnChange)
{
    std::vector<std::string> log;
    LoggingMode a("a", log), b("b", log);
    context->modes.set(&a);
    context->modes.set(&a);
    context->modes.set(&b);
    EXPECT_EQ(log, (std::vector<std::string>{"a.enter", "a.leave", "b.enter"}));

    // A destroyed mode leaves the record, so the next one is entered without calling the old one.
    {
        LoggingMode c("c", log);
        context->modes.set(&c);
    }
    EXPECT_EQ(context->modes.current, nullptr);
    log.clear();
    context->modes.set(&a);
    EXPECT_EQ(log, (std::vector<std::string>{"a.enter"}));
}

TEST_F(GLTest, PointLightIsPositionalWithoutSpotCone)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    PointLight light;
    light.setPosition(900, 790, 400);
    light.setSpecular(0.3f, 0.3f, 0.3f, 0);
    light.setLinearAttenuation(0.5f);
    glLightf(GL_LIGHT2, GL_SPOT_CUTOFF, 30.0f);
    context->lights.set(2, &light);

    EXPECT_TRUE(enabled(GL_LIGHT2));
    EXPECT_FALSE(enabled(GL_LIGHT0));
    float position[4], specular[4], value;
    glGetLightfv(GL_LIGHT2, GL_POSITION, position);
    EXPECT_EQ(std::vector<float>(position, position + 4), (std::vector<float>{900, 790, 400, 1}));
    glGetLightfv(GL_LIGHT2, GL_SPECULAR, specular);
    EXPECT_FLOAT_EQ(specular[0], 0.3f);
    glGetLightfv(GL_LIGHT2, GL_SPOT_CUTOFF, &value);
    EXPECT_EQ(value, 180.0f);
    glGetLightfv(GL_LIGHT2, GL_LINEAR_ATTENUATION, &value);
    EXPECT_EQ(value, 0.5f);
}

TEST_F(GLTest, LightsAreAppliedOnceAndDisabledWhenDestroyed)
{
    auto* light = new CountingLight();
    context->lights.set(0, light);
    context->lights.set(0, light);
    EXPECT_EQ(light->applied, 1);
    context->lights.set(3, light);
    EXPECT_EQ(light->applied, 2);
    ASSERT_TRUE(enabled(GL_LIGHT0) && enabled(GL_LIGHT3));

    light->release();
    EXPECT_FALSE(enabled(GL_LIGHT0));
    EXPECT_FALSE(enabled(GL_LIGHT3));
    EXPECT_EQ(context->lights.slots[0], nullptr);
    EXPECT_EQ(context->lights.slots[3], nullptr);
}

TEST_F(GLTest, ColourMaterialSetsBothFaces)
{
    ColourMaterial material;
    material.setAmbient(0.1f, 0.2f, 0.3f, 1);
    material.setDiffuse(0.4f, 0.5f, 0.6f, 1);
    material.setEmission(0.05f, 0, 0, 1);
    material.shininess = 16;
    material.apply();

    for (GLenum face : {GL_FRONT, GL_BACK}) {
        float colour[4];
        glGetMaterialfv(face, GL_AMBIENT, colour);
        EXPECT_FLOAT_EQ(colour[2], 0.3f);
        glGetMaterialfv(face, GL_DIFFUSE, colour);
        EXPECT_FLOAT_EQ(colour[1], 0.5f);
        glGetMaterialfv(face, GL_EMISSION, colour);
        EXPECT_FLOAT_EQ(colour[0], 0.05f);
        glGetMaterialfv(face, GL_SHININESS, colour);
        EXPECT_EQ(colour[0], 16.0f);
    }
    EXPECT_EQ(integer(GL_COLOR_MATERIAL_FACE), GL_FRONT_AND_BACK);
    EXPECT_EQ(integer(GL_COLOR_MATERIAL_PARAMETER), GL_AMBIENT_AND_DIFFUSE);
    EXPECT_FLOAT_EQ(floats(GL_CURRENT_COLOR, 4)[1], 0.2f);
}

TEST_F(GLTest, SharedMaterialIsAppliedOncePerChange)
{
    auto* material = new CountingMaterial();
    Appearance first, second, other;
    first.setMaterial(material);
    second.setMaterial(material);
    auto* otherMaterial = new CountingMaterial();
    other.setMaterial(otherMaterial);

    first.apply();
    second.apply();
    first.apply();
    EXPECT_EQ(material->applied, 1);
    other.apply();
    second.apply();
    EXPECT_EQ(material->applied, 2);

    // A destroyed material leaves the record.
    other.setMaterial(nullptr);
    otherMaterial->release();
    EXPECT_EQ(context->materials.current, material);
    first.setMaterial(nullptr);
    second.setMaterial(nullptr);
    material->release();
    EXPECT_EQ(context->materials.current, nullptr);
}

TEST_F(GLTest, CameraLoadsTheFrustumAndKeepsTheMatrixMode)
{
    Camera camera;
    camera.zFar = 1600;
    context->matrices.setMode(GL_MODELVIEW);

    auto expected = [&](const float* transformColumns) {
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(transformColumns);
        glFrustum(camera.left, camera.left + camera.width, camera.bottom, camera.bottom + camera.height,
                  camera.zNear, camera.zFar);
        std::vector<float> matrix = floats(GL_PROJECTION_MATRIX, 16);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        return matrix;
    };
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    std::vector<float> frustum = expected(identity);

    camera.apply();
    expectMatrix(floats(GL_PROJECTION_MATRIX, 16), frustum);
    EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);

    // The transform multiplies from the left; without glLoadTransposeMatrixfARB the camera loads
    // the transposed matrix itself.
    camera.transform[3] = 5;   // translate x
    camera.transform[5] = 2;   // scale y
    camera.transform[11] = -3; // translate z
    const float transformColumns[16] = {1, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1, 0, 5, 0, -3, 1};
    std::vector<float> transformed = expected(transformColumns);
    camera.apply();
    expectMatrix(floats(GL_PROJECTION_MATRIX, 16), transformed);

    PFNGLLOADTRANSPOSEMATRIXFARBPROC saved = glLoadTransposeMatrixfARB;
    glLoadTransposeMatrixfARB = nullptr;
    glMatrixMode(GL_TEXTURE);
    camera.apply();
    glLoadTransposeMatrixfARB = saved;
    EXPECT_EQ(integer(GL_MATRIX_MODE), GL_TEXTURE);
    expectMatrix(floats(GL_PROJECTION_MATRIX, 16), transformed);
}

TEST_F(GLTest, cameraWithUnequalSidesLoadsItsOwnFrustum)
{
    // Width against height and left against bottom: a swap of either pair changes the matrix.
    Camera camera;
    camera.left = -0.3f;
    camera.bottom = -0.1f;
    camera.width = 0.8f;
    camera.height = 0.5f;
    camera.zNear = 1.5f;
    camera.zFar = 900;
    context->matrices.setMode(GL_MODELVIEW);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.3, 0.5, -0.1, 0.4, 1.5, 900);
    std::vector<float> frustum = floats(GL_PROJECTION_MATRIX, 16);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);

    camera.apply();
    expectMatrix(floats(GL_PROJECTION_MATRIX, 16), frustum);
}

TEST_F(GLTest, ClientArraysFollowTheShader)
{
    auto normals = shaderAppearance(0x005);
    auto colours = shaderAppearance(0x011);
    auto texturedUnit1 = shaderAppearance(0x011 | (Shader::textureCoordinateArray << 1));

    normals->apply();
    EXPECT_TRUE(enabled(GL_VERTEX_ARRAY));
    EXPECT_TRUE(enabled(GL_NORMAL_ARRAY));
    EXPECT_FALSE(enabled(GL_COLOR_ARRAY));

    colours->apply();
    EXPECT_TRUE(enabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(enabled(GL_NORMAL_ARRAY));
    EXPECT_TRUE(enabled(GL_COLOR_ARRAY));
    EXPECT_EQ(context->shaders.arrays, 0x011u);

    texturedUnit1->apply();
    vardel::graphics3d::glClientActiveTextureARB(GL_TEXTURE1_ARB);
    EXPECT_TRUE(enabled(GL_TEXTURE_COORD_ARRAY));
    vardel::graphics3d::glClientActiveTextureARB(GL_TEXTURE0_ARB);
    EXPECT_FALSE(enabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(GLTest, ShadersBindTheirProgramsAndLeaveTheStackWhenDestroyed)
{
    auto* program = new CountingProgram();
    auto* first = new PlainShader();
    auto* second = new PlainShader();
    first->setPrimaryProgram(program);
    second->setPrimaryProgram(program);

    context->shaders.set(first);
    EXPECT_EQ(program->bound, 1);
    EXPECT_EQ(context->shaders.primaryProgram, program);
    // The outgoing shader unbinds the program before the incoming one binds it again.
    context->shaders.set(second);
    EXPECT_EQ(program->unbound, 1);
    EXPECT_EQ(program->bound, 2);

    second->release();
    EXPECT_EQ(context->shaders.current, nullptr);
    EXPECT_EQ(context->shaders.primaryProgram, nullptr);
    EXPECT_EQ(program->unbound, 2);
    // No call reaches the destroyed shader.
    context->shaders.set(first);
    EXPECT_EQ(program->bound, 3);
    first->release();
    program->release();
}

TEST_F(GLTest, TexturesMoveTheEnabledTargetOnlyWhenItWasEnabled)
{
    GLuint names[2];
    glGenTextures(2, names);
    auto* flat = new Texture(names[0], GL_TEXTURE_2D);
    auto* line = new Texture(names[1], GL_TEXTURE_1D);
    Appearance appearance;

    appearance.setTexture(0, line);
    appearance.apply();
    EXPECT_FALSE(enabled(GL_TEXTURE_1D));
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_1D), GLint(names[1]));

    appearance.setTexture(0, flat);
    glEnable(GL_TEXTURE_1D);
    appearance.apply();
    EXPECT_FALSE(enabled(GL_TEXTURE_1D));
    EXPECT_TRUE(enabled(GL_TEXTURE_2D));
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), GLint(names[0]));

    appearance.setTexture(3, line);
    appearance.apply();
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE_ARB), GL_TEXTURE3_ARB);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_1D), GLint(names[1]));

    appearance.setTexture(0, nullptr);
    appearance.setTexture(3, nullptr);
    flat->release();
    line->release();
    EXPECT_EQ(context->textures.bound[0], nullptr);
    EXPECT_EQ(context->textures.bound[3], nullptr);
    glDeleteTextures(2, names);
}
