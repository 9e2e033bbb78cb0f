#include "platform/Win32.h"
#include "platform/OpenGL.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WindowTesting.h"

// Window, painting, input and WGL behaviour that programs may rely on because Win32 documents it.
// The program builds for Windows too, where it checks these expectations against the system itself.

using namespace windowtesting;

namespace {

bool lists(const char* names, const char* name)
{
    return names && (std::string(" ") + names + " ").find(std::string(" ") + name + " ") != std::string::npos;
}

std::vector<RECT>& painted()
{
    static std::vector<RECT> areas;
    return areas;
}

LRESULT CALLBACK paintingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        painted().push_back(paint.rcPaint);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A shown top-level window that records the rectangle of each paint.
class Painting : public testing::Test {
protected:
    void SetUp() override
    {
        window = makeWindow("painting", 0, 0, 320, 240);
        ASSERT_NE(window, nullptr);
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(paintingProcedure));
        ShowWindow(window, SW_SHOW);
        pumpFor(300);
        // The frame, where there is one, takes its part of the 320 x 240.
        GetClientRect(window, &client);
        painted().clear();
    }

    void TearDown() override { DestroyWindow(window); }

    // What UpdateWindow paints now: the paint rectangle, or none.
    std::vector<RECT> update()
    {
        painted().clear();
        UpdateWindow(window);
        return painted();
    }

    void validate(LONG left, LONG top, LONG right, LONG bottom)
    {
        RECT rect{left, top, right, bottom};
        ValidateRect(window, &rect);
    }

    HWND window = nullptr;
    RECT client{};
};

void expectArea(const std::vector<RECT>& areas, LONG left, LONG top, LONG right, LONG bottom)
{
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(areas[0].left, left);
    EXPECT_EQ(areas[0].top, top);
    EXPECT_EQ(areas[0].right, right);
    EXPECT_EQ(areas[0].bottom, bottom);
}

// The messages TranslateMessage posted for a key-down the program made itself.
std::vector<MSG> translated(HWND window, WPARAM virtualKey, LPARAM flags)
{
    MSG keyDown{window, WM_KEYDOWN, virtualKey, flags, 0, {0, 0}};
    EXPECT_TRUE(TranslateMessage(&keyDown));
    std::vector<MSG> characters;
    MSG message;
    while (PeekMessageA(&message, window, WM_CHAR, WM_CHAR, PM_REMOVE)) {
        characters.push_back(message);
    }
    return characters;
}

} // namespace

TEST_F(Painting, validatingPartOfTheWindowPaintsWhatIsLeft)
{
    LONG width = client.right;
    LONG height = client.bottom;
    InvalidateRect(window, nullptr, FALSE);
    validate(0, 0, width, 50);
    expectArea(update(), 0, 50, width, height);

    // Two cuts, the second next to the first: what is left is exact, not the first's bounds.
    InvalidateRect(window, nullptr, FALSE);
    validate(0, 50, width, 100);
    validate(0, 0, width, 50);
    expectArea(update(), 0, 100, width, height);

    InvalidateRect(window, nullptr, FALSE);
    validate(0, 0, 100, height);
    expectArea(update(), 100, 0, width, height);

    // A cut out of a corner or the middle leaves the bounds as they were.
    InvalidateRect(window, nullptr, FALSE);
    validate(0, 0, 100, 100);
    expectArea(update(), 0, 0, width, height);
    RECT first{10, 10, 20, 20};
    RECT second{100, 100, 110, 110};
    InvalidateRect(window, &first, FALSE);
    InvalidateRect(window, &second, FALSE);
    validate(30, 30, 90, 90);
    expectArea(update(), 10, 10, 110, 110);
    InvalidateRect(window, &first, FALSE);
    InvalidateRect(window, &second, FALSE);
    validate(95, 95, 120, 120);
    expectArea(update(), 10, 10, 20, 20);

    // Pieces that together cover everything leave nothing to paint.
    InvalidateRect(window, nullptr, FALSE);
    validate(0, 0, width, height / 2);
    validate(0, height / 2, width, height);
    EXPECT_TRUE(update().empty());
}

TEST(TranslateMessage, aKeyDownTheProgramMadeTypesLikeARealOne)
{
    HWND window = makeWindow("keys", 0, 0, 160, 120);
    ASSERT_NE(window, nullptr);
    std::vector<MSG> characters = translated(window, 'A', 0x001E0001);
    ASSERT_EQ(characters.size(), 1u);
    EXPECT_EQ(characters[0].wParam, static_cast<WPARAM>('a'));
    EXPECT_EQ(characters[0].lParam, 0x001E0001);
    EXPECT_EQ(characters[0].hwnd, window);

    // The virtual-key code decides, whatever the scan code says.
    characters = translated(window, 'B', 0x00000001);
    ASSERT_EQ(characters.size(), 1u);
    EXPECT_EQ(characters[0].wParam, static_cast<WPARAM>('b'));
#ifndef _WIN32
    // Windows' layouts type the keypad's digit codes as digits. Wine does so only while Num Lock
    // is on, so this is checked on our layer alone.
    characters = translated(window, VK_NUMPAD0 + 7, 0x00470001);
    ASSERT_EQ(characters.size(), 1u);
    EXPECT_EQ(characters[0].wParam, static_cast<WPARAM>('7'));
#endif
    characters = translated(window, VK_RETURN, 0x001C0001);
    ASSERT_EQ(characters.size(), 1u);
    EXPECT_EQ(characters[0].wParam, static_cast<WPARAM>('\r'));
    EXPECT_TRUE(translated(window, VK_LEFT, 0x014B0001).empty());

    MSG keyUp{window, WM_KEYUP, 'A', static_cast<LPARAM>(0xC01E0001u), 0, {0, 0}};
    EXPECT_TRUE(TranslateMessage(&keyUp));
    MSG move{window, WM_MOUSEMOVE, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(TranslateMessage(&move));
    MSG left;
    EXPECT_FALSE(PeekMessageA(&left, window, WM_CHAR, WM_CHAR, PM_REMOVE));
    DestroyWindow(window);
}

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

    auto extensionsOf = entryPoint<PFNWGLGETEXTENSIONSSTRINGARBPROC>("wglGetExtensionsStringARB");
    ASSERT_NE(extensionsOf, nullptr);
    const char* names = extensionsOf(dc);
    EXPECT_TRUE(lists(names, "WGL_ARB_extensions_string")) << names;
    EXPECT_EQ(wglGetProcAddress("wglNoSuchFunctionEXT"), nullptr);

    auto setInterval = entryPoint<PFNWGLSWAPINTERVALEXTPROC>("wglSwapIntervalEXT");
    auto getInterval = entryPoint<PFNWGLGETSWAPINTERVALEXTPROC>("wglGetSwapIntervalEXT");
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
