#include "DemoProcess.h"
#include "support/Picture.h"
#include "support/PngPicture.h"

#include <gtest/gtest.h>

// Xlib after GoogleTest: its macros (None) collide with GoogleTest's names.
#include "support/CloseBox.h"
#include "support/XWindows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

// The demo run as a person runs it: started as its own process, found by its title on the X server,
// looked at, dragged with the mouse and closed with the close box.

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A temporary working folder, removed afterwards.
struct Folder {
    Folder()
    {
        std::string name = (std::filesystem::temp_directory_path() / "vardel-e2e-XXXXXX").string();
        path = mkdtemp(name.data());
    }
    ~Folder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

class ClothDemoTest : public DisplayTest {
protected:
    void SetUp() override
    {
        DisplayTest::SetUp();
        // The pointer starts outside where the window will be, so that no stray move turns the camera.
        XTestFakeMotionEvent(display, -1, 0, 0, CurrentTime);
        XSync(display, False);
    }

    // The top-level window titled "Vardel" once it is mapped, or 0 after the time given.
    ::Window findWindow(std::chrono::milliseconds limit)
    {
        std::vector<::Window> found = waitForWindowsTitled(display, "Vardel", 1, limit);
        return found.empty() ? 0 : found.front();
    }

    Picture screenshot(::Window window) { return windowPicture(display, window); }

    void closeBox(::Window window) { sendCloseBox(display, window); }

    void drag(unsigned button, int fromX, int fromY, int dx, int dy, KeySym modifier = 0)
    {
        XTestFakeMotionEvent(display, -1, fromX, fromY, CurrentTime);
        if (modifier) {
            XTestFakeKeyEvent(display, XKeysymToKeycode(display, modifier), True, CurrentTime);
        }
        XTestFakeButtonEvent(display, button, True, CurrentTime);
        XSync(display, False);
        for (int step = 1; step <= 10; ++step) {
            std::this_thread::sleep_for(20ms);
            XTestFakeMotionEvent(display, -1, fromX + dx * step / 10, fromY + dy * step / 10, CurrentTime);
            XSync(display, False);
        }
        XTestFakeButtonEvent(display, button, False, CurrentTime);
        if (modifier) {
            XTestFakeKeyEvent(display, XKeysymToKeycode(display, modifier), False, CurrentTime);
        }
        XTestFakeMotionEvent(display, -1, 0, 0, CurrentTime);
        XSync(display, False);
    }

    // Presses and lets go of a key, with a modifier key held around it when one is given.
    void key(KeySym symbol, KeySym modifier = 0)
    {
        KeyCode held = modifier ? XKeysymToKeycode(display, modifier) : 0;
        KeyCode code = XKeysymToKeycode(display, symbol);
        if (held) {
            XTestFakeKeyEvent(display, held, True, CurrentTime);
        }
        XTestFakeKeyEvent(display, code, True, CurrentTime);
        XTestFakeKeyEvent(display, code, False, CurrentTime);
        if (held) {
            XTestFakeKeyEvent(display, held, False, CurrentTime);
        }
        XSync(display, False);
    }

    // The demo's window once it shows, with the pointer over its middle so that keys go to it; 0
    // when none came.
    ::Window hoveredWindow()
    {
        ::Window window = findWindow(10s);
        if (window) {
            hover(window);
        }
        return window;
    }

    // Closes the window with the close box: the demo ends at once, cleanly and silently.
    void expectCleanClose(Demo& demo, ::Window window)
    {
        closeBox(window);
        EXPECT_EQ(demo.exitWithin(2s), 0);
        EXPECT_EQ(demo.errorOutput(), "");
    }

    // The pointer over the window's middle, so that keys go to it.
    void hover(::Window window)
    {
        auto [x, y] = origin(window);
        XTestFakeMotionEvent(display, -1, x + 300, y + 250, CurrentTime);
        XSync(display, False);
        std::this_thread::sleep_for(100ms);
    }

    // The window's top-left corner on the screen.
    std::pair<int, int> origin(::Window window)
    {
        int x = 0;
        int y = 0;
        ::Window child = 0;
        XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
        return {x, y};
    }

};

// A saved picture as the screenshots of the window see it.
Picture fromPng(const std::string& path)
{
    PngPicture png = PngPicture::load(path);
    Picture picture;
    picture.width = png.width;
    picture.height = png.height;
    for (int y = 0; y < png.height; ++y) {
        for (int x = 0; x < png.width; ++x) {
            picture.pixels.push_back((png.at(x, y, 0) << 16) | (png.at(x, y, 1) << 8) | png.at(x, y, 2));
        }
    }
    return picture;
}

// Waits up to the time given for a file to appear; true once it is there.
bool appears(const std::string& path, std::chrono::milliseconds limit)
{
    for (auto end = Clock::now() + limit; Clock::now() < end; std::this_thread::sleep_for(20ms)) {
        if (std::filesystem::exists(path)) {
            return true;
        }
    }
    return false;
}

} // namespace

TEST_F(ClothDemoTest, showsTheLitClothFollowsADragAndEndsWithTheCloseBox)
{
    Demo demo(VARDEL_RUN_FOLDER, {VARDEL_CLOTH});
    ::Window window = findWindow(10s);
    ASSERT_NE(window, 0u) << demo.errorOutput();

    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    EXPECT_EQ(attributes.width, 600);
    EXPECT_EQ(attributes.height, 500);

    // The cloth hangs face-on in front of the camera: a large, smoothly shaded red area.
    std::this_thread::sleep_for(500ms);
    Picture first = screenshot(window);
    EXPECT_GT(first.litShare(), 0.25);
    EXPECT_LT(first.litShare(), 0.95);
    EXPECT_GT(first.shades(), 16);
    EXPECT_TRUE(first.litRed());

    // It keeps moving on its own.
    std::this_thread::sleep_for(2s);
    Picture before = screenshot(window);
    EXPECT_GT(first.differingShare(before), 0.01);
    std::this_thread::sleep_for(200ms);
    Picture later = screenshot(window);

    // A quarter turn seen edge-on changes far more of the picture than the cloth's own sway.
    auto [x, y] = origin(window);
    drag(1, x + 200, y + 250, 250, 0);
    std::this_thread::sleep_for(200ms);
    Picture turned = screenshot(window);
    double sway = before.changedShare(later);
    EXPECT_GT(before.changedShare(turned), std::max(0.1, 3 * sway))
        << "lit before " << before.litShare() << ", after the drag " << turned.litShare();

    closeBox(window);
    EXPECT_EQ(demo.exitWithin(2s), 0);
    EXPECT_EQ(demo.errorOutput(), "");
}

// Resizes the window as a window manager would and drags with every button, there and back, for
// VARDEL_SOAK_SECONDS (3 unless set; the sanitizer builds are worth a longer run).
TEST_F(ClothDemoTest, keepsDrawingThroughResizesAndDrags)
{
    const char* setting = std::getenv("VARDEL_SOAK_SECONDS");
    auto soak = std::chrono::seconds(setting ? std::atoi(setting) : 3);
    Demo demo(VARDEL_RUN_FOLDER, {VARDEL_CLOTH});
    ::Window window = findWindow(10s);
    ASSERT_NE(window, 0u) << demo.errorOutput();
    auto end = Clock::now() + soak;
    for (int round = 0; Clock::now() < end; ++round) {
        XResizeWindow(display, window, 300 + round * 97 % 400, 260 + round * 53 % 300);
        XSync(display, False);
        std::this_thread::sleep_for(100ms);
        auto [x, y] = origin(window);
        unsigned button = 1 + round % 3;
        drag(button, x + 50, y + 50, 200, 150);
        drag(button, x + 250, y + 200, -200, -150);
    }
    XResizeWindow(display, window, 600, 500);
    XSync(display, False);
    std::this_thread::sleep_for(500ms);

    // Every drag was undone, so the camera looks at the cloth again, drawn over the whole view.
    Picture back = screenshot(window);
    ASSERT_EQ(back.width, 600);
    ASSERT_EQ(back.height, 500);
    EXPECT_GT(back.litShare(), 0.1);
    EXPECT_TRUE(back.litRed());
    closeBox(window);
    EXPECT_EQ(demo.exitWithin(5s), 0);
    EXPECT_EQ(demo.errorOutput(), "");
}

TEST_F(ClothDemoTest, theCaptionShowsTopLeftAndHTogglesTheHelpInPlaceOfItsHint)
{
    Demo demo(VARDEL_RUN_FOLDER, {VARDEL_CLOTH});
    ::Window window = hoveredWindow();
    ASSERT_NE(window, 0u) << demo.errorOutput();
    std::this_thread::sleep_for(1500ms);
    Picture first = screenshot(window);
    // Three lines of white figures over the black above the cloth, "H: help" at the bottom.
    EXPECT_GT(first.whiteIn(0, 0, 300, 60), 200);
    EXPECT_EQ(first.whiteIn(300, 0, 600, 60), 0);
    int hint = first.whiteIn(0, 150, 400, 500);
    EXPECT_GT(hint, 20);
    EXPECT_EQ(first.whiteIn(0, 150, 400, 470), 0) << "the hint is one line at the bottom";

    key(XK_h);
    std::this_thread::sleep_for(300ms);
    Picture help = screenshot(window);
    EXPECT_GT(help.whiteIn(0, 150, 400, 500), 10 * hint) << "the help lists every control";
    EXPECT_GT(help.whiteIn(0, 150, 400, 470), 0);

    key(XK_h);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(screenshot(window).whiteIn(0, 150, 400, 500), hint);
    expectCleanClose(demo, window);
}

TEST_F(ClothDemoTest, withoutAFontTheClothStillShowsAndOneLineSaysSo)
{
    Folder empty;
    Demo demo(empty.path, {VARDEL_CLOTH});
    ::Window window = findWindow(10s);
    ASSERT_NE(window, 0u) << demo.errorOutput();
    std::this_thread::sleep_for(300ms);
    Picture picture = screenshot(window);
    EXPECT_GT(picture.litShare(), 0.25);
    EXPECT_EQ(picture.whiteIn(0, 0, 300, 60), 0) << "no caption";
    closeBox(window);
    EXPECT_EQ(demo.exitWithin(2s), 0);
    std::string error = demo.errorOutput();
    EXPECT_NE(error, "");
    EXPECT_EQ(error.find('\n'), error.size() - 1) << error;
}

TEST(ClothDemo, withoutADisplayItSaysSoInOneLineAndFails)
{
    Folder folder;
    Demo demo(folder.path, {VARDEL_CLOTH}, ":4242");
    int status = demo.exitWithin(10s);
    EXPECT_GT(status, 0);
    EXPECT_LT(status, 128) << "ended by a signal";
    std::string error = demo.errorOutput();
    EXPECT_NE(error, "");
    EXPECT_EQ(error.find('\n'), error.size() - 1) << error;
}

TEST_F(ClothDemoTest, spaceFreezesThePictureNStepsOnceAndSpaceGoesOn)
{
    Demo demo(VARDEL_RUN_FOLDER, {VARDEL_CLOTH});
    ::Window window = hoveredWindow();
    ASSERT_NE(window, 0u) << demo.errorOutput();
    std::this_thread::sleep_for(300ms);

    key(XK_space);
    std::this_thread::sleep_for(200ms);
    Picture paused = screenshot(window).withoutCaption();
    std::this_thread::sleep_for(1s);
    Picture stillPaused = screenshot(window).withoutCaption();
    EXPECT_EQ(paused.differingShare(stillPaused), 0.0);

    key(XK_n);
    std::this_thread::sleep_for(200ms);
    Picture stepped = screenshot(window).withoutCaption();
    EXPECT_GT(stillPaused.differingShare(stepped), 0.0);
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(stepped.differingShare(screenshot(window).withoutCaption()), 0.0) << "one step only";
    key(XK_Right);
    std::this_thread::sleep_for(200ms);
    EXPECT_GT(stepped.differingShare(screenshot(window).withoutCaption()), 0.0) << "the right arrow steps too";

    key(XK_space);
    std::this_thread::sleep_for(1s);
    EXPECT_GT(stepped.differingShare(screenshot(window).withoutCaption()), 0.01);

    // Esc closes the window as the close box does.
    key(XK_Escape);
    EXPECT_EQ(demo.exitWithin(2s), 0);
    EXPECT_EQ(demo.errorOutput(), "");
}

TEST_F(ClothDemoTest, resetAfterSomeWindGivesBackTheStartingShape)
{
    Demo demo(VARDEL_RUN_FOLDER, {VARDEL_CLOTH});
    ::Window window = hoveredWindow();
    ASSERT_NE(window, 0u) << demo.errorOutput();
    key(XK_space);
    std::this_thread::sleep_for(200ms);
    Picture start = screenshot(window);

    key(XK_space);
    key(XK_w);
    std::this_thread::sleep_for(3s);
    Picture windy = screenshot(window);
    key(XK_space);
    key(XK_r);
    std::this_thread::sleep_for(200ms);
    Picture reset = screenshot(window);
    // The start was paused a few frames in, the reset shows the very first: nearly alike, and far
    // from what the wind made of it.
    double moved = start.changedShare(windy);
    EXPECT_GT(moved, 0.05);
    EXPECT_LT(start.changedShare(reset), moved / 5) << "start " << start.litShare() << ", windy "
                                                     << windy.litShare() << ", reset " << reset.litShare();
    expectCleanClose(demo, window);
}

TEST_F(ClothDemoTest, ctrlDragPullsTheClothAndLeavesTheCamera)
{
    Demo demo(VARDEL_RUN_FOLDER, {VARDEL_CLOTH});
    ::Window window = hoveredWindow();
    ASSERT_NE(window, 0u) << demo.errorOutput();
    // The cloth as it starts, seen by the camera as it starts.
    key(XK_space);
    key(XK_r);
    std::this_thread::sleep_for(200ms);
    Picture before = screenshot(window).withoutCaption();
    key(XK_space);
    std::this_thread::sleep_for(500ms);

    // From the middle of the cloth to near the window's right edge, far beyond the cloth's side.
    auto [x, y] = origin(window);
    auto litBeyondTheCloth = [](const Picture& picture) {
        int lit = 0;
        for (int row = 200; row < 300; ++row) {
            for (int column = 540; column < 600; ++column) {
                lit += (picture.pixels[row * picture.width + column] & 0xFFFFFF) != 0;
            }
        }
        return lit;
    };
    EXPECT_EQ(litBeyondTheCloth(screenshot(window)), 0);
    XTestFakeMotionEvent(display, -1, x + 300, y + 250, CurrentTime);
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, XK_Control_L), True, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XSync(display, False);
    for (int step = 1; step <= 20; ++step) {
        std::this_thread::sleep_for(50ms);
        XTestFakeMotionEvent(display, -1, x + 300 + step * 14, y + 250, CurrentTime);
        XSync(display, False);
    }
    std::this_thread::sleep_for(300ms);
    Picture pulled = screenshot(window);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, XK_Control_L), False, CurrentTime);
    XSync(display, False);
    EXPECT_GT(litBeyondTheCloth(pulled), 20) << "the pulled point follows the pointer";

    // The camera did not turn: the reset cloth looks exactly as it did.
    key(XK_space);
    key(XK_r);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(before.differingShare(screenshot(window).withoutCaption()), 0.0);
    expectCleanClose(demo, window);
}

TEST_F(ClothDemoTest, theReleasedClothFallsAwayFromTheCamera)
{
    Demo demo(VARDEL_RUN_FOLDER, {VARDEL_CLOTH});
    ::Window window = hoveredWindow();
    ASSERT_NE(window, 0u) << demo.errorOutput();
    std::this_thread::sleep_for(1s);
    Picture hanging = screenshot(window).withoutCaption();
    key(XK_p);
    std::this_thread::sleep_for(3s);
    Picture fallen = screenshot(window).withoutCaption();
    EXPECT_LT(fallen.litShare(), 0.6 * hanging.litShare()) << "hanging " << hanging.litShare() << ", fallen "
                                                          << fallen.litShare();
    expectCleanClose(demo, window);
}

TEST(ClothDemoCommandLine, framesAndScreenshotSaveTheLitClothAndEndOnTheirOwn)
{
    Folder folder;
    std::string shot = folder.path + "/out.png";
    auto start = Clock::now();
    Demo demo(VARDEL_RUN_FOLDER, {VARDEL_CLOTH, "--frames", "10", "--screenshot", shot});
    ASSERT_EQ(demo.exitWithin(20s), 0) << demo.errorOutput();
    EXPECT_LT(Clock::now() - start, 5s) << "10 frames at 20 ms each";
    EXPECT_EQ(demo.errorOutput(), "");
    Picture picture = fromPng(shot);
    ASSERT_EQ(picture.width, 600);
    ASSERT_EQ(picture.height, 500);
    EXPECT_GT(picture.litShare(), 0.25);
    EXPECT_GT(picture.shades(), 8);
    EXPECT_TRUE(picture.litRed());

    // A smaller cloth covers clearly less of the picture; a larger window gives a larger one.
    std::string small = folder.path + "/small.png";
    Demo smaller(VARDEL_RUN_FOLDER, {VARDEL_CLOTH, "--cloth", "20x10", "--frames", "5", "--screenshot", small,
                                     "--window", "800x600"});
    ASSERT_EQ(smaller.exitWithin(20s), 0) << smaller.errorOutput();
    Picture other = fromPng(small);
    ASSERT_EQ(other.width, 800);
    ASSERT_EQ(other.height, 600);
    EXPECT_TRUE(other.litRed());
    EXPECT_LT(other.litShare(), picture.litShare() / 3);
    EXPECT_GT(other.litShare(), 0.01);
}

TEST(ClothDemoCommandLine, aBadOptionEndsWithStatus2AndOneLineBeforeAnyWindow)
{
    Folder folder;
    for (std::vector<std::string> arguments : {std::vector<std::string>{"--cloth", "1x1"}, {"--window"}, {"--colour"}}) {
        arguments.insert(arguments.begin(), VARDEL_CLOTH);
        Demo demo(folder.path, arguments);
        EXPECT_EQ(demo.exitWithin(10s), 2);
        std::string error = demo.errorOutput();
        EXPECT_EQ(error.find('\n'), error.size() - 1) << error;
        EXPECT_NE(error.find(arguments[1]), std::string::npos) << error;
        // Not even the font is looked for.
        EXPECT_EQ(error.find("font"), std::string::npos) << error;
    }
    Demo help(folder.path, {VARDEL_CLOTH, "--help"});
    EXPECT_EQ(help.exitWithin(10s), 0);
    EXPECT_EQ(help.errorOutput(), "");
}

TEST(ClothDemoCommandLine, aScreenshotThatCannotBeSavedIsReportedAndFailsTheRun)
{
    Folder folder;
    std::string shot = folder.path + "/out.png";
    // The picture is written beside its final name first; a folder in that place stops it.
    std::filesystem::create_directory(shot + ".part");
    Demo demo(VARDEL_RUN_FOLDER, {VARDEL_CLOTH, "--frames", "3", "--screenshot", shot});
    EXPECT_EQ(demo.exitWithin(20s), 1);
    std::string error = demo.errorOutput();
    EXPECT_EQ(error.find('\n'), error.size() - 1) << error;
    EXPECT_NE(error.find(shot), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(shot));
}

TEST_F(ClothDemoTest, aWindowSizeOnTheCommandLineIsTheClientArea)
{
    Demo demo(VARDEL_RUN_FOLDER, {VARDEL_CLOTH, "--window", "800x600"});
    ::Window window = findWindow(10s);
    ASSERT_NE(window, 0u) << demo.errorOutput();
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    EXPECT_EQ(attributes.width, 800);
    EXPECT_EQ(attributes.height, 600);
    std::this_thread::sleep_for(300ms);
    Picture picture = screenshot(window);
    EXPECT_GT(picture.litShare(), 0.2);
    closeBox(window);
    EXPECT_EQ(demo.exitWithin(2s), 0);
}

TEST_F(ClothDemoTest, f12AndSSavePicturesUnderNewNamesAndTheCloseBoxSavesTheLast)
{
    Folder folder;
    std::filesystem::copy(std::string(VARDEL_RUN_FOLDER) + "/DejaVuSans.ttf", folder.path);
    folder.path = std::filesystem::canonical(folder.path).string();
    std::string earlier = folder.path + "/vardel-1.png";
    std::ofstream(earlier) << "an earlier file";
    Demo demo(folder.path, {VARDEL_CLOTH, "--screenshot", "last.png"});
    ::Window window = hoveredWindow();
    ASSERT_NE(window, 0u) << demo.errorOutput();
    std::this_thread::sleep_for(300ms);
    // The caption's four lines, and nothing white below them yet.
    int belowCaption = screenshot(window).whiteIn(0, 72, 300, 92);

    key(XK_F12);
    ASSERT_TRUE(appears(folder.path + "/vardel-2.png", 5s)) << demo.errorOutput();
    std::this_thread::sleep_for(200ms);
    // A fifth line says where the picture went.
    int notice = screenshot(window).whiteIn(0, 72, 300, 92);
    EXPECT_GT(notice, belowCaption + 50);
    key(XK_s);
    ASSERT_TRUE(appears(folder.path + "/vardel-3.png", 5s)) << demo.errorOutput();
    std::ifstream kept(earlier);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "an earlier file");
    std::this_thread::sleep_for(200ms);
    for (const char* name : {"/vardel-2.png", "/vardel-3.png"}) {
        Picture picture = fromPng(folder.path + name);
        EXPECT_EQ(picture.width, 600) << name;
        EXPECT_TRUE(picture.litRed()) << name;
    }

    closeBox(window);
    EXPECT_EQ(demo.exitWithin(5s), 0);
    EXPECT_EQ(demo.errorOutput(), "");
    EXPECT_GT(fromPng(folder.path + "/last.png").litShare(), 0.25);
}

TEST_F(ClothDemoTest, f12WhereNothingCanBeWrittenSaysSoAndCarriesOn)
{
    // Not even root may create files in /proc.
    Folder errors;
    Demo demo("/proc", {VARDEL_CLOTH}, nullptr, errors.path);
    ::Window window = hoveredWindow();
    ASSERT_NE(window, 0u) << demo.errorOutput();
    std::this_thread::sleep_for(300ms);
    std::string before = demo.errorOutput();
    key(XK_F12);
    auto end = Clock::now() + 5s;
    while (demo.errorOutput() == before && Clock::now() < end) {
        std::this_thread::sleep_for(20ms);
    }
    std::string line = demo.errorOutput().substr(before.size());
    EXPECT_EQ(line.find('\n'), line.size() - 1) << line;
    EXPECT_EQ(line.rfind("vardel-cloth: cannot save vardel-1.png: ", 0), 0u) << line;

    // Still drawing the cloth.
    Picture first = screenshot(window);
    std::this_thread::sleep_for(200ms);
    Picture second = screenshot(window);
    EXPECT_GT(second.litShare(), 0.1);
    EXPECT_GT(first.differingShare(second), 0.0);
    closeBox(window);
    EXPECT_EQ(demo.exitWithin(5s), 0);
}

TEST(ClothDemoCommandLine, makeRunWithoutADisplaySaysSoAndPrintsWhereThePictureWent)
{
    std::string build = std::filesystem::path(VARDEL_RUN_FOLDER).parent_path().string();
    std::string picture = std::string(VARDEL_RUN_FOLDER) + "/vardel-cloth.png";
    std::filesystem::remove(picture);
    std::string command = "DISPLAY=:4242 " VARDEL_SOURCE_DIR "/scripts/run.sh " + build + " 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) {
        output += buffer;
    }
    EXPECT_EQ(pclose(pipe), 0) << output;
    // One line saying what happens, then the picture's path.
    std::size_t end = output.find('\n');
    ASSERT_NE(end, std::string::npos) << output;
    EXPECT_NE(output.substr(0, end).find("No display"), std::string::npos) << output;
    EXPECT_EQ(output.substr(end + 1), picture + "\n");
    Picture shown = fromPng(picture);
    EXPECT_EQ(shown.width, 600);
    // After 150 frames the cloth has sagged away from the camera.
    EXPECT_GT(shown.litShare(), 0.1);
    EXPECT_TRUE(shown.litRed());
}
