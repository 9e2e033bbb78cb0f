#include "platform/x11/Keyboard.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "platform/x11/Connection.h"

namespace vardel::platform::x11 {

namespace {

struct Named {
    unsigned long keysym;
    Keyboard::Key key;
};

// The keys named by single key symbols. Where several symbols share a code, the first is the one
// a virtual-key code is typed with.
constexpr Named named[] = {
    {XK_BackSpace, {VK_BACK, 0}},
    {XK_Tab, {VK_TAB, 0}},
    {XK_ISO_Left_Tab, {VK_TAB, 0}},
    {XK_Return, {VK_RETURN, 0}},
    {XK_KP_Enter, {VK_RETURN, 0}},
    {XK_Pause, {VK_PAUSE, 0}},
    {XK_Caps_Lock, {VK_CAPITAL, 0}},
    {XK_Escape, {VK_ESCAPE, 0}},
    {XK_space, {VK_SPACE, 0}},
    {XK_KP_Space, {VK_SPACE, 0}},
    {XK_Prior, {VK_PRIOR, 0}},
    {XK_KP_Prior, {VK_PRIOR, 0}},
    {XK_Next, {VK_NEXT, 0}},
    {XK_KP_Next, {VK_NEXT, 0}},
    {XK_End, {VK_END, 0}},
    {XK_KP_End, {VK_END, 0}},
    {XK_Home, {VK_HOME, 0}},
    {XK_KP_Home, {VK_HOME, 0}},
    {XK_Left, {VK_LEFT, 0}},
    {XK_KP_Left, {VK_LEFT, 0}},
    {XK_Up, {VK_UP, 0}},
    {XK_KP_Up, {VK_UP, 0}},
    {XK_Right, {VK_RIGHT, 0}},
    {XK_KP_Right, {VK_RIGHT, 0}},
    {XK_Down, {VK_DOWN, 0}},
    {XK_KP_Down, {VK_DOWN, 0}},
    {XK_Print, {0x2C, 0}},
    {XK_Insert, {VK_INSERT, 0}},
    {XK_KP_Insert, {VK_INSERT, 0}},
    {XK_Delete, {VK_DELETE, 0}},
    {XK_KP_Delete, {VK_DELETE, 0}},
    {XK_KP_Multiply, {VK_MULTIPLY, 0}},
    {XK_KP_Add, {VK_ADD, 0}},
    {XK_KP_Subtract, {VK_SUBTRACT, 0}},
    {XK_KP_Decimal, {VK_DECIMAL, 0}},
    {XK_KP_Divide, {VK_DIVIDE, 0}},
    {XK_Num_Lock, {VK_NUMLOCK, 0}},
    {XK_Scroll_Lock, {VK_SCROLL, 0}},
    {XK_Shift_L, {VK_SHIFT, VK_LSHIFT}},
    {XK_Shift_R, {VK_SHIFT, VK_RSHIFT}},
    {XK_Control_L, {VK_CONTROL, VK_LCONTROL}},
    {XK_Control_R, {VK_CONTROL, VK_RCONTROL}},
    {XK_Alt_L, {VK_MENU, VK_LMENU}},
    {XK_Meta_L, {VK_MENU, VK_LMENU}},
    {XK_Alt_R, {VK_MENU, VK_RMENU}},
    {XK_Meta_R, {VK_MENU, VK_RMENU}},
    {XK_ISO_Level3_Shift, {VK_MENU, VK_RMENU}},
    {XK_Super_L, {VK_LWIN, 0}},
    {XK_Super_R, {VK_RWIN, 0}},
    {XK_Menu, {VK_APPS, 0}},
    {XK_semicolon, {VK_OEM_1, 0}},
    {XK_equal, {VK_OEM_PLUS, 0}},
    {XK_comma, {VK_OEM_COMMA, 0}},
    {XK_minus, {VK_OEM_MINUS, 0}},
    {XK_period, {VK_OEM_PERIOD, 0}},
    {XK_slash, {VK_OEM_2, 0}},
    {XK_grave, {VK_OEM_3, 0}},
    {XK_bracketleft, {VK_OEM_4, 0}},
    {XK_backslash, {VK_OEM_5, 0}},
    {XK_bracketright, {VK_OEM_6, 0}},
    {XK_apostrophe, {VK_OEM_7, 0}},
    {XK_less, {0xE2, 0}},
};

// Win32 scan codes (set 1, with 0x100 for the extended keys) of the keys outside the main block,
// by Linux input code; the main block's input codes are its scan codes.
struct Extended {
    unsigned int input;
    unsigned int scan;
};

constexpr Extended extended[] = {
    {69, 0x145},  // Num Lock
    {96, 0x11C},  // keypad Enter
    {97, 0x11D},  // right Control
    {98, 0x135},  // keypad /
    {99, 0x137},  // Print Screen
    {100, 0x138}, // right Alt
    {102, 0x147}, {103, 0x148}, {104, 0x149}, {105, 0x14B}, {106, 0x14D}, // Home, Up, Page Up, Left, Right
    {107, 0x14F}, {108, 0x150}, {109, 0x151}, {110, 0x152}, {111, 0x153}, // End, Down, Page Down, Insert, Delete
    {119, 0x45},  // Pause
    {125, 0x15B}, // left Windows key
    {126, 0x15C}, // right Windows key
    {127, 0x15D}, // Menu
};

// X servers on Linux number keys by their input code plus 8.
constexpr unsigned int firstKeycode = 8;

} // namespace

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
    for (const Named& each : named) {
        if (each.keysym == keysym) {
            return each.key;
        }
    }
    return {0, 0};
}

unsigned long Keyboard::toKeysym(BYTE virtualKey)
{
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        return XK_a + (virtualKey - 'A');
    }
    if (virtualKey >= '0' && virtualKey <= '9') {
        return virtualKey;
    }
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD0 + 9) {
        return XK_KP_0 + (virtualKey - VK_NUMPAD0);
    }
    for (const Named& each : named) {
        if (each.key.code == virtualKey && each.key.side == 0) {
            return each.keysym;
        }
    }
    return NoSymbol;
}

unsigned int Keyboard::scanCode(unsigned int keycode)
{
    unsigned int input = keycode - firstKeycode;
    for (const Extended& each : extended) {
        if (each.input == input) {
            return each.scan;
        }
    }
    // Up to F12 the main block's input codes are its scan codes; 84 and 85 are not keys there.
    return keycode >= firstKeycode && input <= 88 && input != 84 && input != 85 ? input : 0;
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
    unsigned int code = key.keycode & 0xFF;
    unsigned int scan = scanCode(code);
    sideKey[scan] = virtualKey.side;
    DWORD flags = 1 | (scan << scanCodeShift);
    // X reports the modifiers from before the event; translation wants those after it. Shift and
    // Control come from the key states when a key-down is translated.
    unsigned int changed = XkbKeysymToModifiers(key.display, plain);
    modifiers = key.state;
    if (plain == XK_Caps_Lock || plain == XK_Num_Lock) {
        modifiers ^= key.type == KeyPress ? changed : 0;
    } else {
        modifiers = key.type == KeyPress ? modifiers | changed : modifiers & ~changed;
    }
    modifiers &= ~(ShiftMask | ControlMask);
    if (key.type == KeyPress) {
        if (keyDown[code]) {
            flags |= wasDown;
        }
        keyDown[code] = true;
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

std::string Keyboard::typed(_XDisplay* display, const MSG& keyDown) const
{
    BYTE virtualKey = keyDown.wParam & 0xFF;
    unsigned long keysym = toKeysym(virtualKey);
    unsigned int keycode = keysym != NoSymbol ? XKeysymToKeycode(display, keysym) : 0;
    // Keys the layout names by symbols of its own are found by their scan code.
    unsigned int scan = scanCodeOf(keyDown.lParam);
    for (unsigned int code = firstKeycode; keycode == 0 && scan != 0 && code < 256; ++code) {
        if (scanCode(code) == scan) {
            keycode = code;
        }
    }
    if (keycode == 0) {
        return {};
    }
    XKeyEvent event{};
    event.type = KeyPress;
    event.display = display;
    event.keycode = keycode;
    event.state = modifiers | (keys[VK_SHIFT] & down ? ShiftMask : 0) | (keys[VK_CONTROL] & down ? ControlMask : 0);
    // The keypad's digit codes type digits whatever the Num Lock state.
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_DIVIDE) {
        event.state |= XkbKeysymToModifiers(display, XK_Num_Lock);
    }
    char text[16];
    int length = XLookupString(&event, text, sizeof text, nullptr, nullptr);
    return std::string(text, length > 0 ? length : 0);
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
