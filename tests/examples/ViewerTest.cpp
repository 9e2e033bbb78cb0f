#include "e2e/DemoProcess.h"
#include "support/Picture.h"

#include <gtest/gtest.h>

// Xlib after GoogleTest: its macros (None) collide with GoogleTest's names.
#include "support/CloseBox.h"
#include "support/XWindows.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

// The viewer example run as a person runs it: its window shows the lit mesh, a drag turns it, the
// close box ends it with status 0, and a bad mesh file is one line on stderr and status 1.

namespace {

using namespace std::chrono_literals;

class ViewerTest : public DisplayTest {
protected:
    void SetUp() override
    {
        DisplayTest::SetUp();
        // The pointer waits outside where the window will be, so that no stray move turns the mesh.
        XTestFakeMotionEvent(display, -1, 700, 600, CurrentTime);
        XSync(display, False);
        folder = std::filesystem::temp_directory_path() / ("vardel-viewer-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override
    {
        DisplayTest::TearDown();
        std::filesystem::remove_all(folder);
    }

    // The mapped top-level window titled "Vardel viewer", or 0 after the time given.
    ::Window findWindow(std::chrono::milliseconds limit)
    {
        std::vector<::Window> found = waitForWindowsTitled(display, "Vardel viewer", 1, limit);
        return found.empty() ? 0 : found.back();
    }

    // The window's pixels once two looks a moment apart agree, so that the first paint is done.
    Picture settledScreenshot(::Window window)
    {
        Picture last = screenshot(window);
        for (int i = 0; i < 50; ++i) {
            std::this_thread::sleep_for(100ms);
            Picture next = screenshot(window);
            if (next.differingShare(last) == 0.0 && next.litShare() > 0.0) {
                return next;
            }
            last = next;
        }
        return last;
    }

    Picture screenshot(::Window window) { return windowPicture(display, window); }

    // The share of pixels bright in every channel: the lit grey mesh, not the dark background.
    static double brightShare(const Picture& picture)
    {
        std::size_t bright = 0;
        for (unsigned long pixel : picture.pixels) {
            bright += ((pixel >> 16) & 0xFF) > 100 && ((pixel >> 8) & 0xFF) > 100 && (pixel & 0xFF) > 100;
        }
        return picture.pixels.empty() ? 0.0 : double(bright) / picture.pixels.size();
    }

    std::filesystem::path folder;
};

} // namespace

TEST_F(ViewerTest, showsTheLitMeshTurnsWithADragAndEndsWithTheCloseBox)
{
    Demo viewer(folder.string(), {VARDEL_VIEWER});
    ::Window window = findWindow(10s);
    ASSERT_NE(window, 0u) << viewer.errorOutput();
    Picture shown = settledScreenshot(window);
    EXPECT_EQ(shown.width, 640);
    EXPECT_EQ(shown.height, 480);
    // The torus covers a good part of the middle and is shaded, not flat.
    EXPECT_GT(brightShare(shown), 0.04);
    EXPECT_GT(shown.shades(), 40);

    // A left drag across the middle, as a person's hand would make it.
    Picture before = shown;
    XTestFakeMotionEvent(display, -1, 320, 240, CurrentTime);
    XTestFakeButtonEvent(display, Button1, True, CurrentTime);
    XSync(display, False);
    for (int step = 1; step <= 10; ++step) {
        std::this_thread::sleep_for(20ms);
        XTestFakeMotionEvent(display, -1, 320 + 10 * step, 240, CurrentTime);
        XSync(display, False);
    }
    XTestFakeButtonEvent(display, Button1, False, CurrentTime);
    XTestFakeMotionEvent(display, -1, 0, 0, CurrentTime);
    XSync(display, False);
    Picture after = settledScreenshot(window);
    EXPECT_GT(after.differingShare(before), 0.005) << "the drag did not turn the mesh";

    sendCloseBox(display, window);
    EXPECT_EQ(viewer.exitWithin(5s), 0);
    EXPECT_EQ(viewer.errorOutput(), "");
}

TEST_F(ViewerTest, aBadMeshFileIsOneLineAndStatusOne)
{
    struct Case {
        const char* text;
        const char* line;
    };
    const Case cases[] = {
        {"v 0 0 0\nv 1 0 0\nf 1 2 3\n", "bad.mesh:3: a face names vertex 3 of 2\n"},
        {"v 0 0\n", "bad.mesh:1: a vertex needs three numbers\n"},
        {"v 0 0 zero\n", "bad.mesh:1: a vertex needs three numbers\n"},
        {"# nothing\n\nv 0 0 0\n", "bad.mesh: no triangles\n"},
        {"v 0 0 0\nquad 1 2 3 4\n", "bad.mesh:2: unknown statement \"quad\"\n"},
    };
    for (const Case& c : cases) {
        std::ofstream(folder / "bad.mesh") << c.text;
        Demo viewer(folder.string(), {VARDEL_VIEWER, "bad.mesh"});
        EXPECT_EQ(viewer.exitWithin(5s), 1) << c.text;
        EXPECT_EQ(viewer.errorOutput(), std::string("viewer: ") + c.line);
    }
    Demo missing(folder.string(), {VARDEL_VIEWER, "missing.mesh"});
    EXPECT_EQ(missing.exitWithin(5s), 1);
    EXPECT_EQ(missing.errorOutput(), "viewer: missing.mesh: The system cannot find the file specified.\n");
    EXPECT_EQ(findWindow(0ms), 0u);
}
