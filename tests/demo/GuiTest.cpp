#include "demo/Gui.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "freetype/Font.h"
#include "gui/Input.h"
#include "gui3d/Label.h"

#include "support/FontFiles.h"
#include "support/GLWindow.h"
#include "support/WorkingFolder.h"

using vardel::demo::Gui;
using vardel::gui::ButtonState;
using vardel::math::Point;

namespace {

class GuiTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        ShowWindow(glWindow.window, SW_SHOW);
        testing::internal::CaptureStderr();
        gui = new Gui(context);
        fontMessage = testing::internal::GetCapturedStderr();
        // Showing the window exposes it, once or more: those paints must not count as the root's.
        // Wait for the first, then until none has come for a while.
        for (int wait = 0; wait < 100 && !drainMessages(); ++wait) {
            Sleep(20);
        }
        for (int quiet = 0; quiet < 5; ++quiet) {
            Sleep(20);
            if (drainMessages()) {
                quiet = -1;
            }
        }
    }
    void TearDown() override
    {
        gui->release();
        GLTest::TearDown();
    }

    // Serves what is queued; true if a repaint of the window was among it.
    bool drainMessages()
    {
        bool painted = false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_PAINT && message.hwnd == glWindow.window) {
                painted = true;
                ValidateRect(glWindow.window, nullptr);
            } else {
                DispatchMessageA(&message);
            }
        }
        return painted;
    }

    // Moves the mouse to a point with no button held, then on to another with the buttons held.
    void drag(Point from, Point to, std::uint32_t buttons)
    {
        gui->mouseMoved(from, 0);
        gui->mouseMoved(to, buttons);
    }

    void expectRotation(const float (&rows)[9])
    {
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                EXPECT_NEAR(gui->viewMatrix[row * 4 + column], rows[row * 3 + column], 1e-5f)
                    << "row " << row << " column " << column;
            }
        }
    }

    Gui* gui = nullptr;
    std::string fontMessage;
};

} // namespace

TEST_F(GuiTest, startsAsTheIdentityFourHundredUnitsBack)
{
    EXPECT_EQ(gui->className(), "Object:Handler:Messenger:Root:Gui");
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(gui->viewMatrix[i], i == 11 ? -400.0f : (i % 5 == 0 ? 1.0f : 0.0f)) << i;
    }
}

TEST_F(GuiTest, leftDragsTurnAndTiltByThePixelAndWrapOncePerMove)
{
    // A quarter turn about y: 250 pixels to the right.
    drag(Point(0, 0), Point(250, 0), ButtonState::leftDown);
    EXPECT_NEAR(gui->turn, 90.0f, 1e-3f);
    expectRotation({0, 0, 1, 0, 1, 0, -1, 0, 0});

    // Half a turn about (1, 0, 1)/sqrt 2 swaps x and z and flips y.
    gui->turn = 0;
    drag(Point(0, 0), Point(0, 500), ButtonState::leftDown);
    EXPECT_NEAR(gui->tilt, 180.0f, 1e-3f);
    expectRotation({0, 0, 1, 0, -1, 0, 1, 0, 0});

    gui->turn = 350;
    gui->tilt = -350;
    gui->mouseMoved(Point(gui->lastPoint.x + 20.0f / 0.36f, gui->lastPoint.y - 20.0f / 0.36f), ButtonState::leftDown);
    EXPECT_NEAR(gui->turn, 10.0f, 1e-3f);
    EXPECT_NEAR(gui->tilt, -10.0f, 1e-3f);

    // Exactly a full turn is not corrected, and one correction is all a move gets.
    gui->turn = 0;
    gui->tilt = 0;
    gui->mouseMoved(Point(gui->lastPoint.x + 1000, gui->lastPoint.y), ButtonState::leftDown);
    EXPECT_EQ(gui->turn, 360.0f) << "1000 pixels is exactly a full turn";
    gui->turn = 0;
    gui->mouseMoved(Point(gui->lastPoint.x + 2500, gui->lastPoint.y), ButtonState::leftDown);
    EXPECT_NEAR(gui->turn, 540.0f, 1e-2f);
}

TEST_F(GuiTest, middleDragsPanAndRightDragsDolly)
{
    drag(Point(100, 100), Point(110, 100), ButtonState::middleDown);
    drag(Point(110, 100), Point(110, 110), ButtonState::middleDown);
    EXPECT_FLOAT_EQ(gui->panX, 1.0f);
    EXPECT_FLOAT_EQ(gui->panY, -1.0f);
    EXPECT_FLOAT_EQ(gui->viewMatrix[3], 1.0f);
    EXPECT_FLOAT_EQ(gui->viewMatrix[7], -1.0f);

    // Right or up brings the camera closer.
    drag(Point(110, 110), Point(120, 110), ButtonState::rightDown);
    drag(Point(120, 110), Point(120, 100), ButtonState::rightDown);
    EXPECT_FLOAT_EQ(gui->dolly, 2.0f);
    EXPECT_FLOAT_EQ(gui->viewMatrix[11], -398.0f);
    EXPECT_EQ(gui->turn, 0.0f);
}

TEST_F(GuiTest, theWheelDolliesAndTheCameraResetsToItsStart)
{
    gui->mouseWheel(120.0f, 0);
    EXPECT_FLOAT_EQ(gui->viewMatrix[11], -380.0f) << "forward moves closer";
    EXPECT_TRUE(drainMessages());
    gui->mouseWheel(-240.0f, 0);
    EXPECT_FLOAT_EQ(gui->viewMatrix[11], -420.0f);
    drag(Point(10, 10), Point(60, 30), ButtonState::leftDown | ButtonState::middleDown);
    ASSERT_NE(gui->turn, 0.0f);
    drainMessages();

    gui->resetCamera();
    EXPECT_TRUE(drainMessages());
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(gui->viewMatrix[i], i == 11 ? -400.0f : (i % 5 == 0 ? 1.0f : 0.0f)) << i;
}

TEST_F(GuiTest, onlyMovesWithAButtonHeldAskForARepaint)
{
    gui->mouseMoved(Point(10, 10), 0);
    gui->mouseMoved(Point(30, 10), ButtonState::leftUp);
    EXPECT_FALSE(drainMessages());
    EXPECT_EQ(gui->turn, 0.0f);
    EXPECT_EQ(gui->lastPoint.x, 30.0f);

    for (std::uint32_t button : {ButtonState::leftDown, ButtonState::middleDown, ButtonState::rightDown}) {
        gui->mouseMoved(Point(40, 10), button);
        EXPECT_TRUE(drainMessages()) << std::hex << button;
    }
}

TEST_F(GuiTest, withoutAFontInTheWorkingFolderItSaysSoOnceAndCarriesOn)
{
    EXPECT_EQ(gui->font, nullptr);
    EXPECT_NE(fontMessage.find("vardel-cloth: "), std::string::npos);
    EXPECT_EQ(fontMessage.find('\n'), fontMessage.size() - 1) << fontMessage;
}

// The caption's own face would come at 24 pixels; a stand-in comes at the size of screen text.
TEST_F(GuiTest, loadsTheCaptionFontFromTheWorkingFolderAndAStandInAtFourteenPixels)
{
    WorkingFolder folder;
    copyFont(folder, "DejaVuSans.ttf", "DejaVuSans.ttf");
    testing::internal::CaptureStderr();
    Gui* withFont = new Gui(context);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_NE(withFont->font, nullptr);
    // No font of that family here: the last font file found stands in.
    EXPECT_EQ(withFont->font->descriptor.family, "DejaVu Sans");
    EXPECT_EQ(withFont->font->descriptor.height, 14.0f);
    withFont->release();
}

TEST_F(GuiTest, theCaptionShowsTheFrameRateTheWorkAndTheClothAndTheHelpTakesTheHintsPlace)
{
    EXPECT_EQ(gui->caption, nullptr) << "no font, no text";
    gui->showFrame(1.0, 10.0, 4, 5, "none");
    gui->toggleHelp();
    EXPECT_TRUE(gui->helpShown);

    WorkingFolder folder;
    copyFont(folder, "DejaVuSans.ttf", "DejaVuSans.ttf");
    Gui* withFont = new Gui(context);
    ASSERT_NE(withFont->caption, nullptr);
    EXPECT_EQ(withFont->views.count, 3);
    for (int frame = 0; frame <= 75; ++frame) {
        withFont->showFrame(10.0 + frame * 0.02, 812.4, 2500, 9702, "paused, pins");
    }
    EXPECT_STREQ(withFont->caption->text.chars(),
                 "50.0 fps\nstep + update: 812 \xC2\xB5s\ncloth: 2500 weights, 9702 springs\non: paused, pins");
    EXPECT_STREQ(withFont->hint->text.chars(), "H: help");

    // A notice is the caption's last line until its time is up.
    withFont->notify("saved vardel-1.png", 11.54);
    withFont->showFrame(11.52, 812.4, 2500, 9702, "none");
    EXPECT_STREQ(withFont->caption->text.chars(),
                 "50.0 fps\nstep + update: 812 \xC2\xB5s\ncloth: 2500 weights, 9702 springs\non: none\n"
                 "saved vardel-1.png");
    withFont->showFrame(11.54, 812.4, 2500, 9702, "none");
    EXPECT_EQ(std::string(withFont->caption->text.chars()).find("saved"), std::string::npos);

    withFont->controls.describe("Left drag", "turn");
    EXPECT_TRUE(withFont->hint->visible);
    EXPECT_FALSE(withFont->help->visible);
    withFont->toggleHelp();
    EXPECT_FALSE(withFont->hint->visible);
    EXPECT_TRUE(withFont->help->visible);
    EXPECT_STREQ(withFont->help->text.chars(), "Left drag: turn");
    withFont->toggleHelp();
    EXPECT_TRUE(withFont->hint->visible);
    EXPECT_FALSE(withFont->help->visible);
    withFont->release();
}
