#include "gui/InputHooks.h"

#include "gui/Input.h"

namespace vardel::gui {

bool InputHooks::keyDown(std::uint32_t)
{
    return handledByDefault;
}

bool InputHooks::keyUp(std::uint32_t)
{
    return handledByDefault;
}

bool InputHooks::character(std::uint32_t, std::uint32_t)
{
    return handledByDefault;
}

bool InputHooks::mouseMoved(math::Point, std::uint32_t)
{
    return handledByDefault;
}

bool InputHooks::mouseButton(math::Point, std::uint32_t)
{
    return handledByDefault;
}

bool InputHooks::mouseEntered(math::Point, std::uint32_t)
{
    return handledByDefault;
}

bool InputHooks::mouseExited()
{
    return true;
}

bool InputHooks::mouseWheel(float, std::uint32_t)
{
    return false;
}

bool InputHooks::serveInput(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, const Routing& routing,
                            LRESULT& result)
{
    auto report = [&routing](bool handled) -> LRESULT { return routing.reportsHooks && !handled ? -1 : 0; };
    switch (message) {
    case WM_KEYDOWN:
        result = (lParam & KeyFlags::repeat) ? report(false) : report(routing.keyTarget->keyDown(keyOf(wParam)));
        return true;
    case WM_KEYUP:
        result = report(routing.keyTarget->keyUp(keyOf(wParam)));
        return true;
    case WM_CHAR:
        result = report(routing.keyTarget->character(keyOf(wParam), KeyModifiers::current()));
        return true;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        // Keys held with Alt (and F10) come as system keys on Win32. The hooks see them as any key,
        // and default processing still has them, for the window menu and Alt+F4; not a procedure
        // the receiver subclassed, which would hand them to hooks a second time.
        if (message == WM_SYSKEYUP) {
            routing.keyTarget->keyUp(keyOf(wParam));
        } else if (!(lParam & KeyFlags::repeat)) {
            routing.keyTarget->keyDown(keyOf(wParam));
        }
        result = DefWindowProcA(handle, message, wParam, lParam);
        return true;
    case WM_MOUSEMOVE: {
        math::Point point = pointOf(lParam);
        std::uint32_t buttons = ButtonState::fromKeys(wParam);
        if (routing.mouseInside && !*routing.mouseInside) {
            *routing.mouseInside = true;
            mouseEntered(point, buttons);
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, handle, 0};
            _TrackMouseEvent(&track);
        }
        result = report(mouseMoved(point, buttons));
        return true;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        result = report(mouseButton(pointOf(lParam), ButtonState::ofButton(message)));
        return true;
    case WM_MOUSEWHEEL:
        result = mouseWheel(wheelDeltaOf(wParam), ButtonState::fromKeys(wParam)) ? 1 : 0;
        return true;
    case WM_MOUSELEAVE:
        if (!routing.mouseInside) {
            return false;
        }
        *routing.mouseInside = false;
        mouseExited();
        result = 0;
        return true;
    default:
        return false;
    }
}

} // namespace vardel::gui
