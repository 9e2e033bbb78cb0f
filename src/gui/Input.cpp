#include "gui/Input.h"

namespace vardel::gui {

std::uint32_t ButtonState::fromKeys(WPARAM keys)
{
    std::uint32_t state = 0;
    state |= (keys & MK_LBUTTON) ? leftDown : leftUp;
    state |= (keys & MK_MBUTTON) ? middleDown : middleUp;
    state |= (keys & MK_RBUTTON) ? rightDown : rightUp;
    if (keys & MK_SHIFT) {
        state |= shiftHeld;
    }
    if (keys & MK_CONTROL) {
        state |= controlHeld;
    }
    return state;
}

std::uint32_t ButtonState::ofButton(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        return leftDown;
    case WM_LBUTTONUP:
        return leftUp;
    case WM_MBUTTONDOWN:
        return middleDown;
    case WM_MBUTTONUP:
        return middleUp;
    case WM_RBUTTONDOWN:
        return rightDown;
    case WM_RBUTTONUP:
        return rightUp;
    default:
        return 0;
    }
}

std::uint32_t KeyModifiers::current()
{
    struct Key {
        int virtualKey;
        std::uint32_t bit;
    };
    static constexpr Key keys[] = {{VK_LSHIFT, leftShift},     {VK_RSHIFT, rightShift}, {VK_LCONTROL, leftControl},
                                   {VK_RCONTROL, rightControl}, {VK_LMENU, leftAlt},     {VK_RMENU, rightAlt},
                                   {VK_LWIN, leftWindows},      {VK_RWIN, rightWindows}, {VK_APPS, applications}};
    std::uint32_t modifiers = 0;
    for (const Key& key : keys) {
        if (GetKeyState(key.virtualKey) < 0) {
            modifiers |= key.bit;
        }
    }
    return modifiers;
}

std::uint32_t Modifiers::current()
{
    // The high-order bit of a key state is set while the key is down.
    std::uint32_t held = 0;
    if (GetKeyState(VK_SHIFT) < 0) {
        held |= shift;
    }
    if (GetKeyState(VK_CONTROL) < 0) {
        held |= control;
    }
    if (GetKeyState(VK_MENU) < 0) {
        held |= alt;
    }
    return held;
}

} // namespace vardel::gui
