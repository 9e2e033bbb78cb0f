#pragma once

#include <array>
#include <string>

#include "platform/x11/Desktop.h"

union _XEvent;
struct _XDisplay;

namespace vardel::platform::x11 {

// The keyboard of one connection: turns X key events into key messages, works out what a key-down
// types for TranslateMessage, and keeps the key states GetKeyState reports.
class Keyboard {
public:
    struct Key {
        // The code key messages carry (VK_SHIFT for either Shift key); 0 for keys without one.
        BYTE code;
        // The left or right variant (VK_LSHIFT, ...), or 0.
        BYTE side;
    };

    // The virtual-key codes of X key symbols, for a US layout.
    static Key fromKeysym(unsigned long keysym);
    // The key symbol a virtual-key code types with (the unshifted one), or NoSymbol.
    static unsigned long toKeysym(BYTE virtualKey);
    // The Win32 scan code of an X key code, 0x100 added for the extended keys; 0 for keys
    // without one. X servers on Linux number keys by their Linux input codes, plus 8.
    static unsigned int scanCode(unsigned int keycode);

    // Decodes a KeyPress or KeyRelease into WM_KEYDOWN or WM_KEYUP with Win32's flags (repeat
    // count 1, scan code and extended bit, bit 30 on repeated presses); false for a key that has
    // no virtual-key code.
    bool decode(_XEvent& event, UINT& message, WPARAM& wParam, LPARAM& lParam);
    // The characters a key-down types (for TranslateMessage), whether it came from the X server
    // or the program made it: the key is found by its virtual-key code, or else by its scan
    // code, and typed in the current layout with Shift and Control as the key states have them.
    std::string typed(_XDisplay* display, const MSG& keyDown) const;
    // Applies a message taken from the input queue to the key states.
    void taken(const MSG& message);
    // GetKeyState: as of the input messages taken so far.
    SHORT state(int virtualKey) const;

private:
    // Bits of a key message's lParam: the scan code in bits 16-23 with the extended-key flag in
    // bit 24, the previous key state (bit 30: down already, an auto-repeat) and the transition
    // (bit 31: up).
    static constexpr int scanCodeShift = 16;
    static constexpr LPARAM scanCodeMask = 0x1FF;
    static constexpr DWORD wasDown = 1u << 30;
    static constexpr DWORD goingUp = 1u << 31;
    // Bits of a key state, as GetKeyState reports them in its low byte.
    static constexpr BYTE down = 0x80;
    static constexpr BYTE toggled = 0x01;

    static unsigned int scanCodeOf(LPARAM flags) { return (flags >> scanCodeShift) & scanCodeMask; }

    // Per X key code: down now (for the repeat bit).
    std::array<bool, 256> keyDown{};
    // Per scan code with its extended flag: the left/right key it is.
    std::array<BYTE, 512> sideKey{};
    // The X modifiers (locks, Alt keys, layout group) as of the last key event, without Shift
    // and Control.
    unsigned int modifiers = 0;
    // Per virtual key, as of the messages taken: bit 0x80 down, bit 0x01 toggled.
    std::array<BYTE, 256> keys{};
};

} // namespace vardel::platform::x11
