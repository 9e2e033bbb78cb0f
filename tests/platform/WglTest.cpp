#include "platform/Win32.h"
#include "platform/OpenGL.h"

#include <gtest/gtest.h>

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "WindowTesting.h"
#include "support/XWindows.h"

#include <unistd.h>

using namespace windowtesting;

namespace {

PIXELFORMATDESCRIPTOR request(BYTE colour, BYTE alpha, BYTE depth, BYTE stencil)
{
    PIXELFORMATDESCRIPTOR descriptor{};
    descriptor.nSize = sizeof descriptor;
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = colour;
    descriptor.cAlphaBits = alpha;
    descriptor.cDepthBits = depth;
    descriptor.cStencilBits = stencil;
    descriptor.iLayerType = PFD_MAIN_PLANE;
    return descriptor;
}

// A shown top-level window with a child that gets a GL context for the pixel format asked for.
class WglTest : public testing::Test {
protected:
    void SetUp() override
    {
        window = makeWindow(title.c_str(), 0, 0, 160, 120);
        child = makeWindow("", 0, 0, 64, 48, window);
        ASSERT_NE(child, nullptr);
        ShowWindow(window, SW_SHOW);
        pumpFor(20);
        dc = GetDC(child);
        ASSERT_NE(dc, nullptr);
    }

    void TearDown() override
    {
        wglMakeCurrent(nullptr, nullptr);
        if (context) {
            wglDeleteContext(context);
        }
        DestroyWindow(window);
    }

    void makeContext(const PIXELFORMATDESCRIPTOR& wanted)
    {
        int format = ChoosePixelFormat(dc, &wanted);
        ASSERT_NE(format, 0);
        ASSERT_TRUE(SetPixelFormat(dc, format, &wanted));
        context = wglCreateContext(dc);
        ASSERT_NE(context, nullptr);
        ASSERT_TRUE(wglMakeCurrent(dc, context));
    }

    // Other test programs on the display open windows of their own; this one's is told by its title.
    std::string title = "wgl " + std::to_string(getpid());
    HWND window = nullptr;
    HWND child = nullptr;
    HDC dc = nullptr;
    HGLRC context = nullptr;
};

} // namespace

TEST_F(WglTest, theUsualFormatIsChosenAndDescribedWithItsSizes)
{
    PIXELFORMATDESCRIPTOR wanted = request(24, 8, 24, 8);
    int format = ChoosePixelFormat(dc, &wanted);
    ASSERT_NE(format, 0);
    PIXELFORMATDESCRIPTOR described{};
    int count = DescribePixelFormat(dc, format, sizeof described, &described);
    EXPECT_GE(count, format);
    EXPECT_EQ(described.cColorBits, 24);
    EXPECT_EQ(described.cAlphaBits, 8);
    EXPECT_EQ(described.cDepthBits, 24);
    EXPECT_EQ(described.cStencilBits, 8);
    EXPECT_EQ(described.dwFlags & 0x25u, 0x25u);
    EXPECT_EQ(described.cRedBits + described.cGreenBits + described.cBlueBits, 24);
    EXPECT_EQ(DescribePixelFormat(dc, count + 1, sizeof described, &described), 0);

    ASSERT_TRUE(SetPixelFormat(dc, format, &wanted));
    EXPECT_EQ(GetPixelFormat(dc), format);
    // A window's format is set once.
    EXPECT_FALSE(SetPixelFormat(dc, format == 1 ? 2 : 1, &wanted));
    EXPECT_EQ(GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE, 0);
}

TEST_F(WglTest, aContextClearsToAColourThatReadsBackAfterTheSwap)
{
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    std::vector<::Window> shown;
    ASSERT_TRUE(pumpUntil([&] { return (shown = mappedWindowsTitled(display, title)).size() == 1; }));
    keepContents(display, shown[0]);

    makeContext(request(24, 8, 24, 8));
    EXPECT_EQ(wglGetCurrentContext(), context);
    EXPECT_EQ(wglGetCurrentDC(), dc);
    EXPECT_EQ(WindowFromDC(wglGetCurrentDC()), child);
    glViewport(0, 0, 64, 48);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    ASSERT_TRUE(SwapBuffers(dc));
    unsigned char pixel[4] = {1, 2, 3, 4};
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[1], 255);
    EXPECT_EQ(pixel[2], 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // The swap put the picture in the window, where another client sees it.
    pumpFor(50);
    POINT corner{20, 20};
    POINT origin{0, 0};
    ClientToScreen(child, &corner);
    ClientToScreen(window, &origin);
    corner.x -= origin.x;
    corner.y -= origin.y;
    Picture picture = windowPicture(display, shown[0]);
    ASSERT_GT(picture.width, corner.x);
    EXPECT_EQ(picture.pixels[corner.y * picture.width + corner.x] & 0xFFFFFFu, 0x00FF00u);
    XCloseDisplay(display);
}

TEST_F(WglTest, aFormatWithAnotherVisualRemakesTheWindowUnderTheSameHandle)
{
    // No alpha and no depth: a configuration whose visual differs from the one windows start with.
    makeContext(request(32, 0, 0, 0));
    ASSERT_NE(glGetString(GL_VERSION), nullptr);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(SwapBuffers(dc));
    unsigned char pixel[4] = {};
    glReadPixels(1, 1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 255);
    EXPECT_EQ(pixel[1], 0);

    // The remade window is still the child, in place, painted and reached by its handle.
    RECT rect;
    ASSERT_TRUE(GetWindowRect(child, &rect));
    EXPECT_EQ(rect.right - rect.left, 64);
    EXPECT_EQ(GetDC(child), dc);
    seen().clear();
    InvalidateRect(child, nullptr, FALSE);
    EXPECT_TRUE(pumpUntil([&] { return !messagesOf(child).empty(); }));

    // Another window's format is not the context's.
    HWND other = makeWindow("", 70, 0, 32, 32, window);
    HDC otherDc = GetDC(other);
    PIXELFORMATDESCRIPTOR usual = request(24, 8, 24, 8);
    ASSERT_TRUE(SetPixelFormat(otherDc, ChoosePixelFormat(otherDc, &usual), &usual));
    EXPECT_FALSE(wglMakeCurrent(otherDc, context));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PIXEL_FORMAT);
}

TEST_F(WglTest, destroyingTheWindowUnbindsItsContext)
{
    makeContext(request(24, 8, 24, 8));
    DestroyWindow(window);
    window = nullptr;
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_TRUE(wglDeleteContext(context));
    context = nullptr;
    EXPECT_FALSE(wglDeleteContext(context));
}

TEST_F(WglTest, entryPointsNeedACurrentContextThatAdvertisesThem)
{
    EXPECT_EQ(wglGetProcAddress("glBindBufferARB"), nullptr);
    makeContext(request(24, 8, 24, 8));
    // Mesa's compatibility context has none of these, yet GLX hands out pointers for them.
    EXPECT_EQ(wglGetProcAddress("glWeightPointerARB"), nullptr);
    EXPECT_EQ(wglGetProcAddress("glCombinerInputNV"), nullptr);
    EXPECT_EQ(wglGetProcAddress("glGenOcclusionQueriesNV"), nullptr);
    EXPECT_EQ(wglGetProcAddress("glNoSuchEntryPointARB"), nullptr);
    EXPECT_EQ(wglGetProcAddress("wglCreatePbufferARB"), nullptr);
    EXPECT_NE(wglGetProcAddress("glLoadTransposeMatrixfARB"), nullptr);
    EXPECT_NE(wglGetProcAddress("glBlendEquationEXT"), nullptr);
    EXPECT_NE(wglGetProcAddress("glFogCoordPointerEXT"), nullptr);
}

TEST_F(WglTest, swapControlIsOfferedWhereGlxCanTurnItOff)
{
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    std::string glx = std::string(" ") + glXQueryExtensionsString(display, DefaultScreen(display)) + " ";
    bool glxControl = glx.find(" GLX_EXT_swap_control ") != std::string::npos
        || glx.find(" GLX_MESA_swap_control ") != std::string::npos;
    XCloseDisplay(display);

    makeContext(request(24, 8, 24, 8));
    auto extensionsOf = entryPoint<PFNWGLGETEXTENSIONSSTRINGARBPROC>("wglGetExtensionsStringARB");
    ASSERT_NE(extensionsOf, nullptr);
    std::string wgl = std::string(" ") + extensionsOf(dc) + " ";
    EXPECT_EQ(wgl.find(" WGL_EXT_swap_control ") != std::string::npos, glxControl) << wgl;
    auto extensions = entryPoint<PFNWGLGETEXTENSIONSSTRINGEXTPROC>("wglGetExtensionsStringEXT");
    ASSERT_NE(extensions, nullptr);
    EXPECT_EQ(std::string(" ") + extensions() + " ", wgl);
    EXPECT_EQ(wglGetProcAddress("wglCreateContextAttribsARB"), nullptr);
}

// Run twice by CTest: as is, and with MESA_EXTENSION_OVERRIDE=-GL_ARB_vertex_buffer_object.
TEST_F(WglTest, bufferEntriesFollowTheExtensionString)
{
    const char* override = std::getenv("MESA_EXTENSION_OVERRIDE");
    bool removed = override && std::strstr(override, "-GL_ARB_vertex_buffer_object");
    makeContext(request(24, 8, 24, 8));
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    ASSERT_NE(extensions, nullptr);
    EXPECT_EQ(std::strstr(extensions, "GL_ARB_vertex_buffer_object ") == nullptr, removed);
    for (const char* name : {"glBindBufferARB", "glDeleteBuffersARB", "glGenBuffersARB", "glIsBufferARB",
                             "glBufferDataARB", "glBufferSubDataARB", "glGetBufferSubDataARB", "glMapBufferARB",
                             "glUnmapBufferARB", "glGetBufferParameterivARB", "glGetBufferPointervARB"}) {
        EXPECT_EQ(wglGetProcAddress(name) == nullptr, removed) << name;
    }
}
