#include "gui/OpenGL.h"

#include <gtest/gtest.h>

#include <X11/Xutil.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/OpenGL.h"
#include "graphics3d/Context.h"
#include "gui/Anchors.h"
#include "gui/Window.h"
#include "GuiTesting.h"
#include "support/XWindows.h"

using guitesting::Task;
using guitesting::waitUntil;
using vardel::math::Point;
using vardel::math::Rectangle;

namespace {

// Clears to red and notes what was current while it drew.
class RedView : public vardel::gui::OpenGL {
public:
    using OpenGL::OpenGL;
    void draw() override
    {
        currentWhileDrawing = wglGetCurrentContext() == glContext &&
                              vardel::graphics3d::Context::current() == renderContext;
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        ++draws;
    }
    std::atomic<int> draws{0};
    bool currentWhileDrawing = false;
};

class OpenGLTest : public testing::Test {
protected:
    void open(const char* title)
    {
        window = new vardel::gui::Window;
        window->setTitle(title);
        window->setSize(Point(160, 120));
        view = new RedView(Rectangle(0, 0, 160, 120));
        view->anchors = vardel::gui::anchorLeft | vardel::gui::anchorRight | vardel::gui::anchorTop |
                        vardel::gui::anchorBottom;
        window->addView(view);
        view->release();
        ASSERT_TRUE(window->open());
    }

    void TearDown() override
    {
        if (window) {
            window->release();
        }
    }

    guitesting::X x;
    vardel::gui::Window* window = nullptr;
    RedView* view = nullptr;
};

} // namespace

TEST_F(OpenGLTest, requestsHoldTheChosenFormatAfterOpening)
{
    window = new vardel::gui::Window;
    view = new RedView(Rectangle(0, 0, 64, 64));
    EXPECT_EQ(view->colourBits, 32);
    EXPECT_EQ(view->depthBits + view->stencilBits + view->alphaBits, 0);
    view->alphaBits = 8;
    view->depthBits = 24;
    view->stencilBits = 8;
    window->addView(view);
    view->release();
    ASSERT_TRUE(window->open());
    Task::run(*window, [&] {
        PIXELFORMATDESCRIPTOR chosen{};
        ASSERT_GT(DescribePixelFormat(view->deviceContext, GetPixelFormat(view->deviceContext), sizeof chosen, &chosen),
                  0);
        EXPECT_EQ(view->colourBits, chosen.cColorBits);
        EXPECT_EQ(view->alphaBits, chosen.cAlphaBits);
        EXPECT_EQ(view->depthBits, chosen.cDepthBits);
        EXPECT_EQ(view->stencilBits, chosen.cStencilBits);
        EXPECT_EQ(view->accumulationBits, chosen.cAccumBits);
        EXPECT_EQ(view->auxiliaryBuffers, chosen.cAuxBuffers);
        EXPECT_EQ(view->colourBits, 24);
        EXPECT_EQ(view->depthBits, 24);
        EXPECT_EQ(view->stencilBits, 8);
        GLint depth = 0;
        glGetIntegerv(GL_DEPTH_BITS, &depth);
        EXPECT_EQ(depth, 24);
    });
}

TEST_F(OpenGLTest, aPaintDrawsOnceWithTheContextCurrentAndSwaps)
{
    open("paint");
    ASSERT_TRUE(view->renderContext);
    // The first paint comes with the window; later ones on request, from any thread.
    ASSERT_TRUE(waitUntil([&] { return view->draws >= 1; }));
    // What later paints swap in is kept for the reading below, whatever window lies over it.
    ::Window native = x.shown("paint");
    ASSERT_NE(native, 0u);
    keepContents(x.display, native);
    // Showing the window (and keeping its contents) may expose it once more: let those paints pass.
    int before = 0;
    do {
        before = view->draws;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } while (view->draws != before);
    std::thread ticker([&] { view->invalidate(); });
    ticker.join();
    ASSERT_TRUE(waitUntil([&] { return view->draws == before + 1; }));
    Task::run(*window, [] {});
    EXPECT_EQ(view->draws, before + 1);
    EXPECT_TRUE(view->currentWhileDrawing);

    // The swapped picture is what the X server shows in the view's window.
    std::vector<::Window> children = x.children(native);
    ASSERT_EQ(children.size(), 1u);
    XImage* image = XGetImage(x.display, children[0], 80, 60, 1, 1, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(XGetPixel(image, 0, 0) & 0xFFFFFF, 0xFF0000u);
    XDestroyImage(image);
}

TEST_F(OpenGLTest, resizingSetsTheViewportAndFrameBuffer)
{
    open("viewport");
    ::Window native = x.shown("viewport");
    ASSERT_NE(native, 0u);
    XResizeWindow(x.display, native, 200, 90);
    XSync(x.display, False);
    ASSERT_TRUE(waitUntil([&] {
        bool done = false;
        Task::run(*window, [&] { done = view->frame.width == 200 && view->frame.height == 90; });
        return done;
    }));
    Task::run(*window, [&] {
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], 200);
        EXPECT_EQ(viewport[3], 90);
        EXPECT_EQ(view->renderContext->frameBuffer.width, 200);
        EXPECT_EQ(view->renderContext->frameBuffer.height, 90);
    });
}

TEST_F(OpenGLTest, aPaintWithoutARenderingContextDrawsNothing)
{
    // A view whose child window exists but whose pixel format was never set.
    class Unready : public RedView {
    public:
        using RedView::RedView;
        bool open() override
        {
            View::open();
            SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
            return true;
        }
    };
    window = new vardel::gui::Window;
    auto* unready = new Unready(Rectangle(0, 0, 50, 50));
    window->addView(unready);
    unready->release();
    ASSERT_TRUE(window->open());
    Task::run(*window, [&] {
        EXPECT_EQ(vardel::gui::OpenGL::procedure(unready->handle, WM_PAINT, 0, 0), 0);
        EXPECT_TRUE(unready->resized(Point(50, 50)));
    });
    EXPECT_EQ(unready->draws, 0);
}

TEST(OpenGLPaletteTest, rampsFollowTheChannelsOfTheFormat)
{
    PIXELFORMATDESCRIPTOR format{};
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 8;
    format.cRedBits = 3;
    format.cGreenBits = 3;
    format.cGreenShift = 3;
    format.cBlueBits = 2;
    format.cBlueShift = 6;
    PALETTEENTRY entries[256];
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(vardel::gui::OpenGL::paletteFor(screen, format, entries), 256);
    EXPECT_EQ((std::vector<int>{entries[255].peRed, entries[255].peGreen, entries[255].peBlue}),
              (std::vector<int>{255, 255, 255}));
    EXPECT_EQ((std::vector<int>{entries[7].peRed, entries[7].peGreen, entries[7].peBlue}),
              (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(entries[64].peBlue, 85);

    format.cColorBits = 16;
    format.cBlueBits = 0;
    EXPECT_EQ(vardel::gui::OpenGL::paletteFor(screen, format, entries), 256);
    EXPECT_EQ(entries[255].peBlue, 0);

    format.iPixelType = PFD_TYPE_COLORINDEX;
    format.cColorBits = 4;
    ASSERT_EQ(vardel::gui::OpenGL::paletteFor(screen, format, entries), 16);
    EXPECT_EQ(entries[1].peRed, 255);
    EXPECT_EQ(entries[1].peFlags, PC_NOCOLLAPSE);
    EXPECT_EQ(entries[3].peBlue, 255);
    ReleaseDC(nullptr, screen);
}

TEST_F(OpenGLTest, fiftyOpeningsLeaveNoThreadNorServerResourceNorContext)
{
    long resourcesWhileOpen = 0;
    auto cycle = [&](const char* title) {
        open(title);
        bool drew = waitUntil([&] { return view->draws >= 1; });
        resourcesWhileOpen = x.serverResources();
        window->release();
        window = nullptr;
        return drew;
    };
    ASSERT_TRUE(cycle("cycle"));
    using guitesting::countEntries;
    int threads = guitesting::settledThreads();
    int descriptors = countEntries("/proc/self/fd");
    long resources = x.serverResources();
    int contexts = vardel::graphics3d::Context::contexts().count;
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(cycle("cycle")) << "cycle " << i;
    }
    EXPECT_TRUE(guitesting::threadsBackTo(threads));
    EXPECT_EQ(countEntries("/proc/self/fd"), descriptors);
    EXPECT_EQ(x.serverResources(), resources);
    // The count sees the window thread's own connection.
    EXPECT_GT(resourcesWhileOpen, resources);
    EXPECT_EQ(vardel::graphics3d::Context::contexts().count, contexts);
    EXPECT_EQ(contexts, 0);
}
