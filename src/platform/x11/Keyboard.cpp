#include "platform/x11/Keyboard.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "platform/x11/Connection.h"

namespace vardel::platform::x11 {

Keyboard::Key Keyboard::fromKeysym(unsigned long keysym)
{
    if (keysym >= XK_a && keysym <= XK_z) {
        return {static_cast<BYTE>('A' + (keysym - XK_a)), 0};
    }
    if (keysym >= XK_A && keysym <= XK_Z) {
        return {static_cast<BYTE>(keysym), 0};
    }
    if (keysym >= XK_0 && keysym <= XK_9) {
        return {static_cast<BYTE>(keysym), 0};
    }
    if (keysym >= XK_F1 && keysym <= XK_F24) {
        return {static_cast<BYTE>(VK_F1 + (keysym - XK_F1)), 0};
    }
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9) {
        return {static_cast<BYTE>(VK_NUMPAD0 + (keysym - XK_KP_0)), 0};
    }
    switch (keysym) {
    case XK_BackSpace: return {VK_BACK, 0};
    case XK_Tab:
    case XK_ISO_Left_Tab: return {VK_TAB, 0};
    case XK_Return:
    case XK_KP_Enter: return {VK_RETURN, 0};
    case XK_Pause: return {VK_PAUSE, 0};
    case XK_Caps_Lock: return {VK_CAPITAL, 0};
    case XK_Escape: return {VK_ESCAPE, 0};
    case XK_space:
    case XK_KP_Space: return {VK_SPACE, 0};
    case XK_Prior:
    case XK_KP_Prior: return {VK_PRIOR, 0};
    case XK_Next:
    case XK_KP_Next: return {VK_NEXT, 0};
    case XK_End:
    case XK_KP_End: return {VK_END, 0};
    case XK_Home:
    case XK_KP_Home: return {VK_HOME, 0};
    case XK_Left:
    case XK_KP_Left: return {VK_LEFT, 0};
    case XK_Up:
    case XK_KP_Up: return {VK_UP, 0};
    case XK_Right:
    case XK_KP_Right: return {VK_RIGHT, 0};
    case XK_Down:
    case XK_KP_Down: return {VK_DOWN, 0};
    case XK_Print: return {0x2C, 0};
    case XK_Insert:
    case XK_KP_Insert: return {VK_INSERT, 0};
    case XK_Delete:
    case XK_KP_Delete: return {VK_DELETE, 0};
    case XK_KP_Multiply: return {VK_MULTIPLY, 0};
    case XK_KP_Add: return {VK_ADD, 0};
    case XK_KP_Subtract: return {VK_SUBTRACT, 0};
    case XK_KP_Decimal: return {VK_DECIMAL, 0};
    case XK_KP_Divide: return {VK_DIVIDE, 0};
    case XK_Num_Lock: return {VK_NUMLOCK, 0};
    case XK_Scroll_Lock: return {VK_SCROLL, 0};
    case XK_Shift_L: return {VK_SHIFT, VK_LSHIFT};
    case XK_Shift_R: return {VK_SHIFT, VK_RSHIFT};
    case XK_Control_L: return {VK_CONTROL, VK_LCONTROL};
    case XK_Control_R: return {VK_CONTROL, VK_RCONTROL};
    case XK_Alt_L:
    case XK_Meta_L: return {VK_MENU, VK_LMENU};
    case XK_Alt_R:
    case XK_Meta_R:
    case XK_ISO_Level3_Shift: return {VK_MENU, VK_RMENU};
    case XK_Super_L: return {VK_LWIN, 0};
    case XK_Super_R: return {VK_RWIN, 0};
    case XK_Menu: return {VK_APPS, 0};
    case XK_semicolon: return {VK_OEM_1, 0};
    case XK_equal: return {VK_OEM_PLUS, 0};
    case XK_comma: return {VK_OEM_COMMA, 0};
    case XK_minus: return {VK_OEM_MINUS, 0};
    case XK_period: return {VK_OEM_PERIOD, 0};
    case XK_slash: return {VK_OEM_2, 0};
    case XK_grave: return {VK_OEM_3, 0};
    case XK_bracketleft: return {VK_OEM_4, 0};
    case XK_backslash: return {VK_OEM_5, 0};
    case XK_bracketright: return {VK_OEM_6, 0};
    case XK_apostrophe: return {VK_OEM_7, 0};
    case XK_less: return {0xE2, 0};
    default: return {0, 0};
    }
}

bool Keyboard::decode(XEvent& event, UINT& message, WPARAM& wParam, LPARAM& lParam)
{
    XKeyEvent& key = event.xkey;
    char typedChars[16];
    KeySym shifted = NoSymbol;
    int length = key.type == KeyPress ? XLookupString(&key, typedChars, sizeof typedChars, &shifted, nullptr) : 0;
    KeySym plain = XLookupKeysym(&key, 0);
    // Keypad keys depend on Num Lock (digits or movement), the others are named unshifted.
    bool keypad = plain >= XK_KP_Space && plain <= XK_KP_9;
    Key virtualKey = fromKeysym(keypad && shifted != NoSymbol ? shifted : plain);
    if (virtualKey.code == 0 && length > 0) {
        virtualKey.code = 0xDF;
    }
    if (virtualKey.code == 0) {
        return false;
    }
    unsigned int code = key.keycode & scanCodeMask;
    sideKey[code] = virtualKey.side;
    DWORD flags = 1 | (code << scanCodeShift);
    if (key.type == KeyPress) {
        if (keyDown[code]) {
            flags |= wasDown;
        }
        keyDown[code] = true;
        text[code].assign(typedChars, length > 0 ? length : 0);
        message = WM_KEYDOWN;
    } else {
        keyDown[code] = false;
        flags |= wasDown | goingUp;
        message = WM_KEYUP;
    }
    wParam = virtualKey.code;
    lParam = flags;
    return true;
}

const std::string& Keyboard::typed(LPARAM keyDownFlags) const
{
    return text[scanCodeOf(keyDownFlags)];
}

void Keyboard::taken(const MSG& message)
{
    auto press = [this](int key, bool repeat) {
        if (!repeat) {
            keys[key] ^= toggled;
        }
        keys[key] |= down;
    };
    auto release = [this](int key) { keys[key] &= ~down; };
    BYTE side = sideKey[scanCodeOf(message.lParam)];
    switch (message.message) {
    case WM_KEYDOWN:
        press(message.wParam & 0xFF, message.lParam & wasDown);
        if (side) {
            press(side, message.lParam & wasDown);
        }
        break;
    case WM_KEYUP:
        release(message.wParam & 0xFF);
        if (side) {
            release(side);
        }
        break;
    case WM_LBUTTONDOWN: press(VK_LBUTTON, false); break;
    case WM_LBUTTONUP: release(VK_LBUTTON); break;
    case WM_MBUTTONDOWN: press(VK_MBUTTON, false); break;
    case WM_MBUTTONUP: release(VK_MBUTTON); break;
    case WM_RBUTTONDOWN: press(VK_RBUTTON, false); break;
    case WM_RBUTTONUP: release(VK_RBUTTON); break;
    default: break;
    }
}

SHORT Keyboard::state(int virtualKey) const
{
    BYTE state = keys[virtualKey & 0xFF];
    // Down sets the whole high byte (a negative SHORT), as on Win32.
    return static_cast<SHORT>((state & down ? 0xFF80 : 0) | (state & toggled));
}

} // namespace vardel::platform::x11

using namespace vardel::platform::x11;

BOOL WINAPI TranslateMessage(const MSG* message)
{
    if (!message || (message->message != WM_KEYDOWN && message->message != WM_KEYUP)) {
        return FALSE;
    }
    Connection* connection = Connection::existing();
    if (connection && message->message == WM_KEYDOWN) {
        connection->translate(*message);
    }
    return TRUE;
}

SHORT WINAPI GetKeyState(int virtualKey)
{
    Connection* connection = Connection::existing();
    return connection ? connection->keyboard.state(virtualKey) : 0;
}
