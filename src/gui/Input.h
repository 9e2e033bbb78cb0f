#pragma once

#include <cstdint>

#include "platform/Win32.h"
#include "math/Point.h"

namespace vardel::gui {

// The buttons and keys of a mouse message as one word. Every button has exactly one of its two
// bits set; a button press or release is told with that button's single flag alone.
struct ButtonState {
    // Shift is held.
    static constexpr std::uint32_t shiftHeld = 0x3;
    // Ctrl is held.
    static constexpr std::uint32_t controlHeld = 0xC;
    // The left button is down.
    static constexpr std::uint32_t leftDown = 0x1000;
    // The middle button is down.
    static constexpr std::uint32_t middleDown = 0x2000;
    // The right button is down.
    static constexpr std::uint32_t rightDown = 0x4000;
    // The left button is up.
    static constexpr std::uint32_t leftUp = 0x10000;
    // The middle button is up.
    static constexpr std::uint32_t middleUp = 0x20000;
    // The right button is up.
    static constexpr std::uint32_t rightUp = 0x40000;

    // From the key flags (wParam) of a mouse message.
    static std::uint32_t fromKeys(WPARAM keys);
    // The single flag of a button message; 0 for any other message.
    static std::uint32_t ofButton(UINT message);
};

// The modifier keys held while a character is typed, one bit per key.
struct KeyModifiers {
    // The left Shift key.
    static constexpr std::uint32_t leftShift = 0x01;
    // The right Shift key.
    static constexpr std::uint32_t rightShift = 0x02;
    // The left Ctrl key.
    static constexpr std::uint32_t leftControl = 0x04;
    // The right Ctrl key.
    static constexpr std::uint32_t rightControl = 0x08;
    // The left Alt key.
    static constexpr std::uint32_t leftAlt = 0x10;
    // The right Alt key (AltGr).
    static constexpr std::uint32_t rightAlt = 0x20;
    // The left system-menu (logo) key.
    static constexpr std::uint32_t leftWindows = 0x40;
    // The right system-menu (logo) key.
    static constexpr std::uint32_t rightWindows = 0x80;
    // The application-menu key.
    static constexpr std::uint32_t applications = 0xC0;

    // As of the input the calling thread has taken so far.
    static std::uint32_t current();
};

// Shift, Ctrl and Alt, either side of the keyboard alike: what key bindings and drags with a
// modifier ask about. Any input hook may call current().
struct Modifiers {
    // Either Shift key.
    static constexpr std::uint32_t shift = 0x1;
    // Either Ctrl key.
    static constexpr std::uint32_t control = 0x2;
    // Either Alt key.
    static constexpr std::uint32_t alt = 0x4;

    // The modifiers held as of the input message being served: the calling thread's key states,
    // which follow the input messages it has taken so far (a click taken after the Ctrl key-down
    // sees control).
    static std::uint32_t current();
};

// Bits of the lParam of a key message.
struct KeyFlags {
    // Set on a key-down when the key was down already: an auto-repeat of a held key.
    static constexpr LPARAM repeat = LPARAM(1) << 30;
};

// The virtual-key code or character code of a key message.
inline std::uint32_t keyOf(WPARAM wParam)
{
    return static_cast<std::uint32_t>(wParam);
}

// The client point of a mouse message: both words unsigned, as the view and window procedures
// read them.
inline math::Point pointOf(LPARAM lParam)
{
    return math::Point(static_cast<float>(LOWORD(lParam)), static_cast<float>(HIWORD(lParam)));
}

// The signed wheel turn of a wheel message: 120 a notch, positive away from the user.
inline float wheelDeltaOf(WPARAM wParam)
{
    return static_cast<float>(GET_WHEEL_DELTA_WPARAM(wParam));
}

} // namespace vardel::gui
