#pragma once

#include <array>
#include <string>

#include "platform/x11/Desktop.h"

union _XEvent;

namespace vardel::platform::x11 {

// The keyboard of one connection: turns X key events into key messages, remembers what each
// key-down typed for TranslateMessage, and keeps the key states GetKeyState reports.
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

    // Decodes a KeyPress or KeyRelease into WM_KEYDOWN or WM_KEYUP with Win32's flags (repeat
    // count 1, the X key code as scan code, bit 30 on repeated presses); false for a key that
    // has no virtual-key code.
    bool decode(_XEvent& event, UINT& message, WPARAM& wParam, LPARAM& lParam);
    // The characters the key-down with these flags typed.
    const std::string& typed(LPARAM keyDownFlags) const;
    // Applies a message taken from the input queue to the key states.
    void taken(const MSG& message);
    // GetKeyState: as of the input messages taken so far.
    SHORT state(int virtualKey) const;

private:
    // Bits of a key message's lParam: the scan code (the X key code here) in bits 16-23, the
    // previous key state (bit 30: down already, an auto-repeat) and the transition (bit 31: up).
    static constexpr int scanCodeShift = 16;
    static constexpr LPARAM scanCodeMask = 0xFF;
    static constexpr DWORD wasDown = 1u << 30;
    static constexpr DWORD goingUp = 1u << 31;
    // Bits of a key state, as GetKeyState reports them in its low byte.
    static constexpr BYTE down = 0x80;
    static constexpr BYTE toggled = 0x01;

    static unsigned int scanCodeOf(LPARAM flags) { return (flags >> scanCodeShift) & scanCodeMask; }

    // Per X key code: down now (for the repeat bit), the left/right key it is, the text it typed.
    std::array<bool, 256> keyDown{};
    std::array<BYTE, 256> sideKey{};
    std::array<std::string, 256> text{};
    // Per virtual key, as of the messages taken: bit 0x80 down, bit 0x01 toggled.
    std::array<BYTE, 256> keys{};
};

} // namespace vardel::platform::x11
