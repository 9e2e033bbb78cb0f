#include "platform/Win32.h"

#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>

#include "WindowTesting.h"
#include "support/XInput.h"

using namespace windowtesting;

namespace {

// A top-level window at (100, 100), 300 x 200, with a child at (50, 40), 200 x 120: the child
// covers the screen from (150, 140) to (350, 260). Input is made with XTest, as a user would.
class InputTest : public testing::Test, protected vardel::test::XInput {
protected:
    void SetUp() override
    {
        ASSERT_NE(display, nullptr);
        movePointer(20, 20);
        seen().clear();
        window = makeWindow("input", 100, 100, 300, 200);
        child = makeWindow("", 50, 40, 200, 120, window);
        ASSERT_NE(child, nullptr);
        showAndSettle(window);
        seen().clear();
    }

    void TearDown() override
    {
        DestroyWindow(window);
    }

    // Serves messages until one numbered message reaches target, returns it and forgets what was
    // seen up to then.
    Seen waitFor(HWND target, UINT message)
    {
        Seen found{};
        bool arrived = pumpUntil([&] {
            for (const Seen& each : seen()) {
                if (each.window == target && each.message == message) {
                    found = each;
                    return true;
                }
            }
            return false;
        });
        EXPECT_TRUE(arrived) << "message " << std::hex << message;
        seen().clear();
        return found;
    }

    int count(HWND target, UINT message)
    {
        auto numbers = messagesOf(target);
        return static_cast<int>(std::count(numbers.begin(), numbers.end(), message));
    }

    HWND window = nullptr;
    HWND child = nullptr;
};

} // namespace

TEST_F(InputTest, pointerInputReachesTheChildUnderThePointerInWin32Packing)
{
    movePointer(200, 180);
    Seen move = waitFor(child, WM_MOUSEMOVE);
    EXPECT_EQ(move.lParam, MAKELPARAM(50, 40));
    EXPECT_EQ(move.wParam, 0u);

    struct Button {
        unsigned int number;
        UINT down;
        UINT up;
        WPARAM flag;
        int virtualKey;
    };
    for (Button b : {Button{1, WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, VK_LBUTTON},
                     Button{2, WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON, VK_MBUTTON},
                     Button{3, WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, VK_RBUTTON}}) {
        button(b.number, true);
        Seen down = waitFor(child, b.down);
        EXPECT_EQ(down.wParam, b.flag);
        EXPECT_EQ(down.lParam, MAKELPARAM(50, 40));
        EXPECT_LT(GetKeyState(b.virtualKey), 0);
        button(b.number, false);
        Seen up = waitFor(child, b.up);
        EXPECT_EQ(up.wParam, 0u);
        EXPECT_GE(GetKeyState(b.virtualKey), 0);
    }

    button(4, true);
    button(4, false);
    Seen wheel = waitFor(child, WM_MOUSEWHEEL);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel.wParam), 120);
    EXPECT_EQ(wheel.lParam, MAKELPARAM(200, 180));
    button(5, true);
    button(5, false);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(waitFor(child, WM_MOUSEWHEEL).wParam), -120);

    key(XK_Shift_L, true);
    movePointer(201, 181);
    EXPECT_EQ(waitFor(child, WM_MOUSEMOVE).wParam, MK_SHIFT);
    key(XK_Shift_L, false);

    movePointer(120, 120);
    EXPECT_EQ(waitFor(window, WM_MOUSEMOVE).lParam, MAKELPARAM(20, 20));
}

TEST_F(InputTest, keysCarryVirtualCodesRepeatBitAndCharacters)
{
    movePointer(200, 180);
    waitFor(child, WM_MOUSEMOVE);
    auto keyMessages = [&] {
        std::vector<Seen> keys;
        for (const Seen& each : seen()) {
            if (each.message >= WM_KEYDOWN && each.message <= WM_CHAR) {
                EXPECT_EQ(each.window, child);
                keys.push_back(each);
            }
        }
        return keys;
    };

    key(XK_a, true);
    pumpUntil([&] { return count(child, WM_CHAR) == 1; });
    std::vector<Seen> keys = keyMessages();
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].message, WM_KEYDOWN);
    EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(keys[0].lParam & (1 << 30), 0);
    // Win32's scan code, not the X key code.
    EXPECT_EQ((keys[0].lParam >> 16) & 0x1FF, 0x1E);
    EXPECT_EQ(keys[1].message, WM_CHAR);
    EXPECT_EQ(keys[1].wParam, static_cast<WPARAM>('a'));
    EXPECT_EQ(keys[1].lParam, keys[0].lParam);
    seen().clear();

    // Keys outside the main block carry the extended bit; movement keys type nothing.
    key(XK_Up, true);
    key(XK_Up, false);
    pumpUntil([&] { return count(child, WM_KEYUP) == 1; });
    keys = keyMessages();
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>(VK_UP));
    EXPECT_EQ((keys[0].lParam >> 16) & 0x1FF, 0x148);
    seen().clear();

    // Held down, the key repeats (quickly, as set here): presses with bit 30 set, one release.
    key(XK_a, false);
    waitFor(child, WM_KEYUP);
    unsigned int delay;
    unsigned int interval;
    XkbGetAutoRepeatRate(display, XkbUseCoreKbd, &delay, &interval);
    XkbSetAutoRepeatRate(display, XkbUseCoreKbd, 60, 20);
    key(XK_a, true);
    pumpUntil([&] { return count(child, WM_KEYDOWN) >= 3; });
    key(XK_a, false);
    pumpUntil([&] { return count(child, WM_KEYUP) == 1; });
    XkbSetAutoRepeatRate(display, XkbUseCoreKbd, delay, interval);
    keys = keyMessages();
    ASSERT_GE(keys.size(), 7u);
    EXPECT_EQ(keys[0].lParam & (1 << 30), 0);
    for (std::size_t i = 2; i + 1 < keys.size(); i += 2) {
        EXPECT_EQ(keys[i].message, WM_KEYDOWN);
        EXPECT_NE(keys[i].lParam & (1 << 30), 0);
        EXPECT_EQ(keys[i + 1].message, WM_CHAR);
    }
    EXPECT_EQ(keys.back().message, WM_KEYUP);
    EXPECT_EQ(static_cast<DWORD>(keys.back().lParam) & 0xC0000000u, 0xC0000000u);
    seen().clear();

    key(XK_Shift_R, true);
    EXPECT_EQ((waitFor(child, WM_KEYDOWN).lParam >> 16) & 0x1FF, 0x36);
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    EXPECT_LT(GetKeyState(VK_RSHIFT), 0);
    EXPECT_GE(GetKeyState(VK_LSHIFT), 0);
    key(XK_a, true);
    key(XK_a, false);
    key(XK_Shift_R, false);
    pumpUntil([&] { return count(child, WM_KEYUP) == 2; });
    keys = keyMessages();
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[1].message, WM_CHAR);
    EXPECT_EQ(keys[1].wParam, static_cast<WPARAM>('A'));
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

TEST_F(InputTest, oneLeaveNoticePerTrackingRequest)
{
    movePointer(200, 180);
    waitFor(child, WM_MOUSEMOVE);
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, child, 0};
    ASSERT_TRUE(_TrackMouseEvent(&track));

    // Out into the parent, out of the application, back into the child and out again.
    movePointer(120, 120);
    movePointer(20, 20);
    movePointer(210, 190);
    movePointer(120, 121);
    pumpUntil([&] { return count(window, WM_MOUSEMOVE) == 2; });
    pumpFor(50);
    EXPECT_EQ(count(child, WM_MOUSELEAVE), 1);
    EXPECT_EQ(messagesOf(child).back(), static_cast<UINT>(WM_MOUSEMOVE));
    seen().clear();

    // Asked for while the pointer is elsewhere, the notice comes at once.
    ASSERT_TRUE(_TrackMouseEvent(&track));
    pumpFor(50);
    EXPECT_EQ(count(child, WM_MOUSELEAVE), 1);
    track.cbSize = 16;
    EXPECT_FALSE(_TrackMouseEvent(&track));
}

TEST_F(InputTest, aDragOutOfTheChildReportsNoMovesOutsideItsClientArea)
{
    movePointer(200, 180);
    waitFor(child, WM_MOUSEMOVE);
    button(1, true);
    waitFor(child, WM_LBUTTONDOWN);
    movePointer(20, 20);
    movePointer(120, 120);
    movePointer(130, 125);
    button(1, false);
    Seen release = waitFor(window, WM_LBUTTONUP);
    EXPECT_EQ(release.lParam, MAKELPARAM(30, 25));
}

TEST_F(InputTest, rightHandModifiersKeypadAndPunctuationHaveTheirVirtualCodes)
{
    movePointer(200, 180);
    waitFor(child, WM_MOUSEMOVE);

    // Each modifier is its shared code and its own side, never the other side.
    struct Modifier {
        KeySym symbol;
        int shared;
        int side;
        int otherSide;
    };
    for (const Modifier& modifier : {Modifier{XK_Control_R, VK_CONTROL, VK_RCONTROL, VK_LCONTROL},
                                     Modifier{XK_Alt_R, VK_MENU, VK_RMENU, VK_LMENU},
                                     Modifier{XK_Control_L, VK_CONTROL, VK_LCONTROL, VK_RCONTROL}}) {
        SCOPED_TRACE(modifier.side);
        key(modifier.symbol, true);
        EXPECT_EQ(waitFor(child, WM_KEYDOWN).wParam, static_cast<WPARAM>(modifier.shared));
        EXPECT_LT(GetKeyState(modifier.shared), 0);
        EXPECT_LT(GetKeyState(modifier.side), 0);
        EXPECT_GE(GetKeyState(modifier.otherSide), 0);
        key(modifier.symbol, false);
        EXPECT_EQ(waitFor(child, WM_KEYUP).wParam, static_cast<WPARAM>(modifier.shared));
        EXPECT_GE(GetKeyState(modifier.side), 0);
    }

    struct Plain {
        KeySym symbol;
        int code;
    };
    for (const Plain& plain : {Plain{XK_KP_Add, VK_ADD}, Plain{XK_KP_Subtract, VK_SUBTRACT},
                               Plain{XK_KP_Multiply, VK_MULTIPLY}, Plain{XK_KP_Divide, VK_DIVIDE},
                               Plain{XK_KP_Enter, VK_RETURN}, Plain{XK_semicolon, VK_OEM_1},
                               Plain{XK_comma, VK_OEM_COMMA}, Plain{XK_minus, VK_OEM_MINUS},
                               Plain{XK_slash, VK_OEM_2}, Plain{XK_bracketleft, VK_OEM_4},
                               Plain{XK_apostrophe, VK_OEM_7}}) {
        SCOPED_TRACE(plain.code);
        key(plain.symbol, true);
        key(plain.symbol, false);
        EXPECT_EQ(waitFor(child, WM_KEYUP).wParam, static_cast<WPARAM>(plain.code));
    }
}
