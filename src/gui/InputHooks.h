#pragma once

#include <cstdint>

#include "platform/Win32.h"
#include "math/Point.h"

namespace vardel::gui {

// The input hooks shared by gui::Window, gui::View, gui3d::Root and gui3d::View, and the one
// place that decodes native input messages into calls of them. It has no class path of its own:
// each class keeps the path of its first base.
//
// Every hook returns true when it handled (for 3D views: consumed) the input. What the base hooks
// answer is set by the class: true for windows, views and the root, false for 3D views, whose
// answers the root uses to find the view that takes the input. Inside any hook,
// Modifiers::current() (gui/Input.h) tells whether Shift, Ctrl or Alt is held.
class InputHooks {
public:
    // Hooks
    // A key went down (virtual-key code); auto-repeats of a held key call no hook.
    virtual bool keyDown(std::uint32_t key);
    // A key went up (virtual-key code).
    virtual bool keyUp(std::uint32_t key);
    // A character was typed, with the KeyModifiers bits held.
    virtual bool character(std::uint32_t code, std::uint32_t modifiers);
    // The pointer moved to point (client pixels) with the ButtonState bits.
    virtual bool mouseMoved(math::Point point, std::uint32_t buttons);
    // A button went down or up: the single ButtonState flag of that button.
    virtual bool mouseButton(math::Point point, std::uint32_t button);
    // The pointer came in (just before the first mouseMoved) and went out.
    virtual bool mouseEntered(math::Point point, std::uint32_t buttons);
    // The pointer left the client area.
    virtual bool mouseExited();
    // The wheel turned by delta (120 a notch, positive away from the user).
    virtual bool mouseWheel(float delta, std::uint32_t buttons);

protected:
    // Hooks whose base versions answer handledByDefault (the wheel: false).
    explicit InputHooks(bool handledByDefault) : handledByDefault(handledByDefault) {}
    ~InputHooks() = default;

    // How a window procedure hands its input to the hooks.
    struct Routing {
        // Receives keys and characters: the focus view, or the receiver itself.
        InputHooks* keyTarget;
        // The receiver's "pointer inside" flag: the first move calls mouseEntered and asks for a
        // leave notice (WM_MOUSELEAVE then calls mouseExited). Null: no enter and leave hooks.
        bool* mouseInside;
        // True: the result of a key, character, move or button message tells whether the hook
        // handled it (0) or not (-1), and an auto-repeat reports -1 (no hook handled it); a view's
        // procedure answers so, as its parent may act on unhandled input. False: 0 whatever the
        // hook said, the answer of a window or root procedure, where the input ends.
        // Either way the wheel reports the hook's answer as 1 or 0 and a leave notice 0.
        bool reportsHooks;
    };

    // Decodes an input message of window handle into hook calls. False (result untouched) when
    // the message is not input the routing serves. A system key (WM_SYSKEYDOWN/UP) calls its hook
    // and answers what default processing (DefWindowProcA) answers.
    bool serveInput(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, const Routing& routing,
                    LRESULT& result);

private:
    bool handledByDefault;
};

} // namespace vardel::gui
