#include "demo/ClothView.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "physics/Relaxator.h"
#include "physics/Weight.h"
#include "graphics3d/Camera.h"
#include "graphics3d/Context.h"
#include "graphics3d/Mode.h"
#include "graphics3d/ParameterBuffer.h"
#include "graphics3d/PointLight.h"
#include "graphics3d/SpringModel.h"
#include "gui/Input.h"
#include "demo/Gui.h"
#include "demo/Scene.h"

#include "gui3d/Label.h"

#include "support/Expect.h"
#include "support/FontFiles.h"
#include "support/GLWindow.h"
#include "support/WorkingFolder.h"

using vardel::demo::ClothView;
using vardel::demo::Gui;
using vardel::demo::scene;
using vardel::math::Vector3;

using vardel::test::expectVectorNear;

namespace {

// The cloth view's scene and frame on a window of the test's own, as the view's open sets them up.
class ClothViewTest : public GLTest {
protected:
    ClothViewTest(int width = 64, int height = 48) : GLTest(width, height), view(vardel::math::Rectangle(0, 0, 64, 48)) {}

    void SetUp() override
    {
        GLTest::SetUp();
        view.drawContext = context;
        view.drawFrameBuffer = &context->frameBuffer;
        view.drawModes = &context->modes;
        view.drawMatrices = &context->matrices;
        testing::internal::CaptureStderr();
        view.root = new Gui(context);
        testing::internal::GetCapturedStderr();
        ASSERT_TRUE(view.setUpScene());
        ASSERT_NE(scene.cloth, nullptr);
    }
    void TearDown() override
    {
        EXPECT_TRUE(view.tearDownScene());
        view.root->release();
        view.root = nullptr;
        GLTest::TearDown();
    }

    vardel::physics::Weight<float, 3>& weight(unsigned index) { return scene.clothSolver->weights[index]; }

    ClothView view;
};

} // namespace

TEST_F(ClothViewTest, theSceneIsThePinnedClothUnderOneLightSeenThroughTheCamera)
{
    EXPECT_EQ(scene.camera->zNear, 10.0f);
    EXPECT_EQ(scene.camera->zFar, 1600.0f);
    EXPECT_EQ(scene.mode->depthFunction, GL_LESS);
    EXPECT_TRUE(scene.mode->depthWrite);
    EXPECT_EQ(scene.clothSolver, scene.cloth->relaxator);
    EXPECT_EQ(scene.clothSolver->uniformStiffness, 60.0f);
    EXPECT_EQ(scene.clothSolver->damping, 0.1f);
    expectVectorNear(scene.clothSolver->gravity, 0, 0, -9.8f);

    ASSERT_EQ(scene.clothSolver->weights.count, 2500u);
    for (unsigned i = 0; i < 2500; ++i) {
        EXPECT_EQ(weight(i).pinned, i == 0 || i == 49 || i == 2450 || i == 2499) << i;
    }
    // The camera's projection is loaded: a 90 degree frustum from 10 to 1600.
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_NEAR(projection[0], 1.0f, 1e-6f);
    EXPECT_NEAR(projection[10], -1610.0f / 1590.0f, 1e-5f);
}

TEST_F(ClothViewTest, eachFrameDrawsTheClothAsItWasThenStepsItUnderGravity)
{
    view.draw();
    // Every spring starts at its rest length, so only gravity acts on the first step.
    expectVectorNear(weight(1).velocity, 0, 0, -0.49f);
    expectVectorNear(weight(1275).velocity, 0, 0, -0.49f);
    EXPECT_NEAR(weight(1275).position.z, -0.0245f, 1e-6f);

    for (int frame = 0; frame < 20; ++frame) {
        view.draw();
    }
    expectVectorNear(weight(0).position, -250, -250, 0, 0);
    expectVectorNear(weight(49).position, -250, 240, 0, 0);
    expectVectorNear(weight(2450).position, 240, -250, 0, 0);
    expectVectorNear(weight(2499).position, 240, 240, 0, 0);
    EXPECT_LT(weight(1275).position.z, -1.0f) << "the middle sags";

    // The lit cloth covers the middle of the picture.
    GLubyte pixel[4] = {};
    glReadPixels(32, 24, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_GT(pixel[0] + pixel[1] + pixel[2], 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ClothViewTest, theModeAndTheLightAreSentOnTheFirstFrameOnly)
{
    view.draw();
    GLint depthFunction = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunction);
    EXPECT_EQ(depthFunction, GL_LESS);
    EXPECT_EQ(context->modes.current, scene.mode);
    EXPECT_EQ(context->lights.slots[0], scene.light);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));

    // Changed behind the scene's back, the state stays as it is: nothing is sent again.
    glDepthFunc(GL_ALWAYS);
    const GLfloat elsewhere[4] = {1, 2, 3, 0};
    glLightfv(GL_LIGHT0, GL_POSITION, elsewhere);
    view.draw();
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunction);
    EXPECT_EQ(depthFunction, GL_ALWAYS);
    GLfloat position[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, position);
    EXPECT_EQ(position[3], 0.0f);
}

TEST_F(ClothViewTest, theClothIsDrawnWithTheCameraMatrixOfThatFrame)
{
    view.root->mouseMoved(vardel::math::Point(0, 0), vardel::gui::ButtonState::leftDown);
    view.root->mouseMoved(vardel::math::Point(40, 25), vardel::gui::ButtonState::leftDown);
    float matrix[16];
    std::memcpy(matrix, view.root->viewMatrix, sizeof matrix);
    view.draw();
    EXPECT_EQ(std::memcmp(scene.clothParameters->data(), matrix, sizeof matrix), 0);
    // Stored row by row, loaded so that OpenGL's column-major matrix is its transpose.
    GLfloat modelView[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            EXPECT_FLOAT_EQ(modelView[column * 4 + row], matrix[row * 4 + column]);
        }
    }
}

TEST_F(ClothViewTest, integrationMovesAWeightByItsVelocityOverTheStep)
{
    vardel::physics::Weight<float, 3> moving;
    moving.position = Vector3<float>(1, 2, 3);
    moving.velocity = Vector3<float>(10, -20, 0.5f);
    const float dt = 0.05f;
    ClothView::integrateWeight(&moving, &dt);
    expectVectorNear(moving.position, 1.5f, 1.0f, 3.025f);
}

TEST_F(ClothViewTest, theSwitchesBindTheirEffectsAndAResetBringsBackTheStartingCloth)
{
    EXPECT_EQ(scene.clothSolver->effects.count, 0u);
    EXPECT_EQ(view.control.switchesOn(), "pins");
    view.control.setWind(true);
    view.control.setTearing(true);
    EXPECT_EQ(scene.clothSolver->effects.count, 2u);
    EXPECT_EQ(view.control.switchesOn(), "wind, tearing, pins");
    for (int frame = 0; frame < 5; ++frame) {
        view.draw();
    }

    // Let go, the corners start from rest, whatever their springs had piled up.
    view.control.setPinned(false);
    EXPECT_FALSE(weight(2499).pinned);
    expectVectorNear(weight(2499).velocity, 0, 0, 0, 0);

    // Paused, frames draw without stepping, but for one step asked for.
    view.control.setPaused(true);
    float z = weight(1275).position.z;
    view.draw();
    EXPECT_EQ(weight(1275).position.z, z);
    view.control.stepOnce();
    view.draw();
    EXPECT_NE(weight(1275).position.z, z);
    z = weight(1275).position.z;
    view.draw();
    EXPECT_EQ(weight(1275).position.z, z);

    // A new cloth, flat and pinned, with the switches as they were bound to it.
    view.resetCloth();
    ASSERT_NE(scene.clothSolver, nullptr);
    EXPECT_EQ(weight(1275).position.z, 0.0f);
    EXPECT_TRUE(weight(2499).pinned);
    EXPECT_EQ(scene.clothSolver->effects.count, 2u);
    EXPECT_EQ(view.control.wind.triangles, &scene.cloth->indices);
    EXPECT_EQ(view.control.switchesOn(), "paused, wind, tearing, pins");

    // P lets go of the corners of a cloth of any shape.
    view.options.clothColumns = 7;
    view.options.clothRows = 3;
    view.resetCloth();
    view.control.setPinned(false);
    for (unsigned i = 0; i < 21; ++i) {
        EXPECT_FALSE(weight(i).pinned) << i;
    }
    view.control.setPinned(true);
    for (unsigned corner : {0u, 6u, 14u, 20u}) {
        EXPECT_TRUE(weight(corner).pinned) << corner;
    }

    view.control.setBall(true);
    view.control.setWind(false);
    view.control.setTearing(false);
    view.control.setPaused(false);
    view.control.setPinned(false);
    EXPECT_EQ(view.control.switchesOn(), "ball");
    EXPECT_EQ(scene.clothSolver->effects.count, 1u);
    view.draw();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

namespace {

// The view as the demo runs it: its root found a font, so every frame ends with the caption.
class CaptionedClothViewTest : public ClothViewTest {
protected:
    CaptionedClothViewTest() : ClothViewTest(320, 240) { copyFont(folder, "DejaVuSans.ttf", "DejaVuSans.ttf"); }

    void SetUp() override
    {
        ClothViewTest::SetUp();
        ASSERT_NE(view.root->caption, nullptr);
        view.bindControls();
    }

    WorkingFolder folder;
};

} // namespace

TEST_F(CaptionedClothViewTest, theCaptionIsDrawnOverTheFrameAndTheSceneStateIsStillSentOnce)
{
    view.draw();
    EXPECT_EQ(context->modes.current, scene.mode);
    EXPECT_EQ(context->lights.slots[0], scene.light);
    EXPECT_EQ(context->matrices.mode, static_cast<GLenum>(GL_MODELVIEW));
    EXPECT_EQ(context->textures.bound[0], nullptr);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_NE(view.root->caption->text.chars()[0], 0);

    // The caption's first line, white, in the top-left corner: the cloth is red there, if anywhere.
    std::vector<GLubyte> pixels(320 * 30 * 4);
    glReadPixels(0, 240 - 30, 320, 30, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int white = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) {
        white += pixels[i] > 200 && pixels[i + 1] > 200 && pixels[i + 2] > 200;
    }
    EXPECT_GT(white, 20);

    // As without the caption: what is changed behind the scene's back is not sent again.
    glDepthFunc(GL_ALWAYS);
    view.draw();
    GLint depthFunction = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunction);
    EXPECT_EQ(depthFunction, GL_ALWAYS);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(CaptionedClothViewTest, hAndF1ToggleTheHelpThatListsEveryControl)
{
    Gui& root = *view.root;
    EXPECT_FALSE(root.help->visible);
    EXPECT_TRUE(root.keyDown('H'));
    EXPECT_TRUE(root.help->visible);
    EXPECT_FALSE(root.hint->visible);
    std::string help = root.help->text.chars();
    for (const char* line : {"Left drag: ", "Middle drag: ", "Right drag: ", "H, F1: "}) {
        EXPECT_NE(help.find(line), std::string::npos) << line;
    }
    EXPECT_TRUE(root.keyDown(VK_F1));
    EXPECT_FALSE(root.help->visible);
    EXPECT_TRUE(root.hint->visible);
    EXPECT_FALSE(root.keyDown('Q')) << "an unbound key does nothing";
}

TEST_F(CaptionedClothViewTest, theCaptionSaysWhereAPictureWentOrWhyItDidNot)
{
    EXPECT_TRUE(view.root->keyDown(VK_F12));
    view.draw();
    std::string caption = view.root->caption->text.chars();
    EXPECT_EQ(caption.substr(caption.rfind('\n') + 1), "saved vardel-1.png");
    EXPECT_TRUE(std::filesystem::exists(folder.path + "/vardel-1.png"));

    // A folder that takes no files, not even root's: the caption gives the reason stderr gets.
    std::filesystem::current_path("/proc");
    EXPECT_TRUE(view.root->keyDown('S'));
    view.draw();
    std::filesystem::current_path(folder.path);
    caption = view.root->caption->text.chars();
    EXPECT_EQ(caption.substr(caption.rfind('\n') + 1).rfind("cannot save vardel-1.png: ", 0), 0u) << caption;
}
