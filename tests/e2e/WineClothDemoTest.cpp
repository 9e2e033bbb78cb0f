#include "DemoProcess.h"
#include "support/Picture.h"

#include <gtest/gtest.h>

// Xlib after GoogleTest: its macros (None) collide with GoogleTest's names.
#include "support/CloseBox.h"
#include "support/XWindows.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/Xcomposite.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

// The Windows build of the demo run under Wine, looked at from the X server as a person sees it.
// The environment names the program (VARDEL_WINDOWS_CLOTH) and its working folder
// (VARDEL_WINDOWS_RUN_FOLDER); Wine's prefix and virtual desktop come from the caller.
//
// Wine draws an OpenGL child window into an X window of its own, redirected off screen, and is
// meant to copy each frame into the top-level window; under Xvfb that copy fails (the child's
// device context has no X drawable), so the frame is read from that X window's pixmap.

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class WineClothDemoTest : public DisplayTest {
protected:

    // Every window under the root, depth first: Wine's top-level windows sit inside its desktop.
    std::vector<::Window> allWindows()
    {
        std::vector<::Window> found;
        std::vector<::Window> pending{DefaultRootWindow(display)};
        while (!pending.empty()) {
            ::Window window = pending.back();
            pending.pop_back();
            found.push_back(window);
            ::Window root = 0;
            ::Window parent = 0;
            ::Window* children = nullptr;
            unsigned count = 0;
            if (XQueryTree(display, window, &root, &parent, &children, &count)) {
                pending.insert(pending.end(), children, children + count);
                XFree(children);
            }
        }
        return found;
    }

    // The process behind a window's X connection, or 0.
    pid_t ownerOf(::Window window)
    {
        XResClientIdSpec wanted{window, XRES_CLIENT_ID_PID_MASK};
        long count = 0;
        XResClientIdValue* ids = nullptr;
        pid_t pid = 0;
        if (XResQueryClientIds(display, 1, &wanted, &count, &ids) == Success) {
            for (long i = 0; i < count && !pid; ++i) {
                pid = XResGetClientPid(&ids[i]);
            }
            XResClientIdsDestroy(count, ids);
        }
        return pid > 0 ? pid : 0;
    }

    // The first window that the test accepts within the time given, or 0.
    template<typename Test>
    ::Window waitForWindow(std::chrono::milliseconds limit, Test accepts)
    {
        auto end = Clock::now() + limit;
        do {
            for (::Window window : allWindows()) {
                if (accepts(window)) {
                    return window;
                }
            }
            std::this_thread::sleep_for(50ms);
        } while (Clock::now() < end);
        return 0;
    }

    bool titled(::Window window, const std::string& title)
    {
        char* name = nullptr;
        bool same = XFetchName(display, window, &name) && name && title == name;
        XFree(name);
        return same;
    }

    bool sized(::Window window, int width, int height)
    {
        XWindowAttributes attributes;
        return XGetWindowAttributes(display, window, &attributes) && attributes.width == width &&
               attributes.height == height;
    }

    // What the window holds, read from its off-screen pixmap.
    Picture frameOf(::Window window)
    {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, window, &attributes)) {
            return Picture();
        }
        Pixmap pixmap = XCompositeNameWindowPixmap(display, window);
        Picture picture = drawablePicture(display, pixmap, attributes.width, attributes.height);
        XFreePixmap(display, pixmap);
        return picture;
    }

    void closeBox(::Window window) { sendCloseBox(display, window); }

};

} // namespace

TEST_F(WineClothDemoTest, showsTheLitClothAndEndsWithTheCloseBox)
{
    const char* program = std::getenv("VARDEL_WINDOWS_CLOTH");
    const char* folder = std::getenv("VARDEL_WINDOWS_RUN_FOLDER");
    ASSERT_TRUE(program && folder) << "VARDEL_WINDOWS_CLOTH and VARDEL_WINDOWS_RUN_FOLDER name the program";

    Demo demo(folder, {"wine", program});
    // Wine starts its own services first: more time than the Linux program needs.
    ::Window window = waitForWindow(30s, [&](::Window w) { return titled(w, "Vardel"); });
    ASSERT_NE(window, 0u) << demo.errorOutput();
    pid_t owner = ownerOf(window);
    ASSERT_NE(owner, 0);

    // The cloth view fills the 600 x 500 client area.
    ::Window view = waitForWindow(10s, [&](::Window w) { return sized(w, 600, 500) && ownerOf(w) == owner; });
    ASSERT_NE(view, 0u);

    // The cloth hangs face-on in front of the camera: a large, smoothly shaded red area.
    std::this_thread::sleep_for(500ms);
    Picture first = frameOf(view);
    EXPECT_GT(first.litShare(), 0.25);
    EXPECT_LT(first.litShare(), 0.95);
    EXPECT_GT(first.shades(), 16);
    EXPECT_TRUE(first.litRed());

    // It keeps moving on its own.
    std::this_thread::sleep_for(1s);
    EXPECT_GT(first.differingShare(frameOf(view)), 0.01);

    closeBox(window);
    EXPECT_EQ(demo.exitWithin(2s), 0);
    EXPECT_EQ(demo.errorOutput(), "");
}
