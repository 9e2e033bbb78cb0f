#include "platform/Win32.h"
#include "platform/OpenGL.h"

#include <gtest/gtest.h>

#include <string>

#include "WindowTesting.h"

// Window, painting, input and WGL behaviour that programs may rely on because Win32 documents it.
// The program builds for Windows too, where it checks these expectations against the system itself.

using namespace windowtesting;

namespace {

bool lists(const char* names, const char* name)
{
    return names && (std::string(" ") + names + " ").find(std::string(" ") + name + " ") != std::string::npos;
}

} // namespace

TEST(Wgl, extensionFunctionsAnswerAsTheExtensionStringSays)
{
    HWND window = makeWindow("wgl", 0, 0, 160, 120);
    ASSERT_NE(window, nullptr);
    HDC dc = GetDC(window);
    PIXELFORMATDESCRIPTOR wanted{};
    wanted.nSize = sizeof wanted;
    wanted.nVersion = 1;
    wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    wanted.iPixelType = PFD_TYPE_RGBA;
    wanted.cColorBits = 24;
    wanted.cDepthBits = 24;
    ASSERT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &wanted), &wanted));
    HGLRC context = wglCreateContext(dc);
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(wglGetProcAddress("wglGetExtensionsStringARB"), nullptr);
    ASSERT_TRUE(wglMakeCurrent(dc, context));

    auto extensionsOf = reinterpret_cast<PFNWGLGETEXTENSIONSSTRINGARBPROC>(wglGetProcAddress("wglGetExtensionsStringARB"));
    ASSERT_NE(extensionsOf, nullptr);
    const char* names = extensionsOf(dc);
    EXPECT_TRUE(lists(names, "WGL_ARB_extensions_string")) << names;
    EXPECT_EQ(wglGetProcAddress("wglNoSuchFunctionEXT"), nullptr);

    auto setInterval = reinterpret_cast<PFNWGLSWAPINTERVALEXTPROC>(wglGetProcAddress("wglSwapIntervalEXT"));
    auto getInterval = reinterpret_cast<PFNWGLGETSWAPINTERVALEXTPROC>(wglGetProcAddress("wglGetSwapIntervalEXT"));
    bool swapControl = lists(names, "WGL_EXT_swap_control");
    EXPECT_EQ(setInterval != nullptr, swapControl);
    EXPECT_EQ(getInterval != nullptr, swapControl);
    if (swapControl) {
        EXPECT_TRUE(setInterval(0));
        EXPECT_EQ(getInterval(), 0);
        EXPECT_TRUE(setInterval(1));
        EXPECT_EQ(getInterval(), 1);
        // Negative intervals belong to another extension.
        if (!lists(names, "WGL_EXT_swap_control_tear")) {
            EXPECT_FALSE(setInterval(-1));
            EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
            EXPECT_EQ(getInterval(), 1);
        }
        EXPECT_TRUE(setInterval(0));
    }
    EXPECT_TRUE(SwapBuffers(dc));

    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
    DestroyWindow(window);
}
