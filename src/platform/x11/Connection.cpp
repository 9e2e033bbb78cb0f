#include "platform/x11/Connection.h"

#include <algorithm>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "platform/posix/LastError.h"
#include "platform/posix/MessageQueue.h"
#include "platform/x11/GlContext.h"
#include "platform/x11/WindowRecord.h"
#include "platform/x11/Xlib.h"

namespace vardel::platform::x11 {

using posix::MessageQueue;

namespace {

thread_local Connection* threadConnection = nullptr;

// A thread that ends with windows or GL contexts left closes its connection all the same, so that
// neither the descriptor nor the server's resources outlive it.
struct ThreadEnd {
    ~ThreadEnd()
    {
        if (threadConnection) {
            WindowRecord::abandon(threadConnection);
            GlContext::abandon(threadConnection);
        }
    }
};

thread_local ThreadEnd threadEnd;

WPARAM mouseKeys(unsigned int state)
{
    WPARAM keys = 0;
    if (state & Button1Mask) {
        keys |= MK_LBUTTON;
    }
    if (state & Button2Mask) {
        keys |= MK_MBUTTON;
    }
    if (state & Button3Mask) {
        keys |= MK_RBUTTON;
    }
    if (state & ShiftMask) {
        keys |= MK_SHIFT;
    }
    if (state & ControlMask) {
        keys |= MK_CONTROL;
    }
    return keys;
}

LPARAM pointParam(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)), static_cast<WORD>(static_cast<SHORT>(y)));
}

} // namespace

Connection* Connection::current()
{
    if (!threadConnection) {
        Display* display = Xlib::open();
        if (!display) {
            return nullptr;
        }
        threadConnection = new Connection(display);
        (void)&threadEnd;
    }
    return threadConnection;
}

Connection* Connection::existing()
{
    return threadConnection;
}

Connection::Connection(_XDisplay* display) : xDisplay(display), root(DefaultRootWindow(display))
{
    // Without this, auto-repeat arrives as release and press pairs that cannot be told from typing.
    XkbSetDetectableAutoRepeat(xDisplay, True, nullptr);
    char names[][24] = {"WM_PROTOCOLS", "WM_DELETE_WINDOW", "_NET_WM_NAME", "UTF8_STRING"};
    char* pointers[] = {names[0], names[1], names[2], names[3]};
    Atom atoms[4];
    XInternAtoms(xDisplay, pointers, 4, False, atoms);
    protocolsAtom = atoms[0];
    deleteAtom = atoms[1];
    nameAtom = atoms[2];
    utf8Atom = atoms[3];
    queue = &MessageQueue::current();
    queue->addSource(this);
}

Connection::~Connection() = default;

void Connection::retain()
{
    ++users;
    closing = false;
}

void Connection::release()
{
    if (--users > 0) {
        return;
    }
    if (pumping > 0) {
        closing = true;
    } else {
        close();
    }
}

void Connection::close()
{
    queue->removeSource(this);
    XCloseDisplay(xDisplay);
    threadConnection = nullptr;
    delete this;
}

void Connection::addWindow(WindowRecord* window)
{
    byId[window->xid] = window;
    windows.push_back(window);
}

void Connection::removeWindow(WindowRecord* window)
{
    byId.erase(window->xid);
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
    dropInput(window);
}

void Connection::renameWindow(WindowRecord* window, unsigned long oldId)
{
    // Events still queued for the old X window find no window and are dropped.
    byId.erase(oldId);
    byId[window->xid] = window;
}

WindowRecord* Connection::windowOf(unsigned long xid) const
{
    auto found = byId.find(xid);
    return found == byId.end() ? nullptr : found->second;
}

int Connection::descriptor()
{
    return ConnectionNumber(xDisplay);
}

void Connection::pump(MessageQueue&)
{
    // XPending flushes what was requested and reads what has arrived, including events an earlier
    // round trip pulled into Xlib's queue, which poll would not see.
    ++pumping;
    while (XPending(xDisplay) > 0) {
        XEvent event;
        XNextEvent(xDisplay, &event);
        handle(event);
    }
    --pumping;
    if (pumping == 0 && closing) {
        close();
    }
}

bool Connection::idle(MSG& message, HWND window, UINT first, UINT last, bool remove)
{
    for (auto it = input.begin(); it != input.end(); ++it) {
        if (MessageQueue::matches(*it, window, first, last)) {
            message = *it;
            if (remove) {
                input.erase(it);
                keyboard.taken(message);
            }
            return true;
        }
    }
    if (window == reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1)) ||
        !((first == 0 && last == 0) || (WM_PAINT >= first && WM_PAINT <= last))) {
        return false;
    }
    WindowRecord* invalid = WindowRecord::firstInvalid(windows, window);
    if (!invalid) {
        return false;
    }
    message = MSG{invalid->handle(), WM_PAINT, 0, 0, MessageQueue::now(), {0, 0}};
    return true;
}

void Connection::handle(XEvent& event)
{
    switch (event.type) {
    case Expose:
        if (WindowRecord* window = windowOf(event.xexpose.window)) {
            const XExposeEvent& expose = event.xexpose;
            RECT area{expose.x, expose.y, expose.x + expose.width, expose.y + expose.height};
            WindowRecord::invalidate(window->handle(), &area, true);
        }
        break;
    case ConfigureNotify:
        handleConfigure(event);
        break;
    case DestroyNotify:
        // Windows this layer destroys are no longer listed when the server reports them, so this
        // is another client (or a window manager) destroying the window.
        if (WindowRecord* window = windowOf(event.xdestroywindow.window)) {
            window->destroyedElsewhere();
        }
        break;
    case ReparentNotify:
        if (WindowRecord* window = windowOf(event.xreparent.window)) {
            window->reparented = event.xreparent.parent != root;
        }
        break;
    case ClientMessage:
        if (WindowRecord* window = windowOf(event.xclient.window)) {
            if (event.xclient.message_type == protocolsAtom && event.xclient.format == 32 &&
                static_cast<unsigned long>(event.xclient.data.l[0]) == deleteAtom) {
                // The close box: the window decides what closing means.
                window->send(WM_CLOSE, 0, 0);
            }
        }
        break;
    case KeyPress:
    case KeyRelease:
        handleKey(event);
        break;
    case ButtonPress:
    case ButtonRelease:
    case MotionNotify:
        handlePointer(event);
        break;
    case EnterNotify:
    case LeaveNotify:
        handleCrossing(event);
        break;
    case FocusIn:
    case FocusOut:
        handleFocus(event);
        break;
    case MappingNotify:
        XRefreshKeyboardMapping(&event.xmapping);
        break;
    default:
        break;
    }
}

void Connection::handleKey(XEvent& event)
{
    WindowRecord* window = windowOf(event.xkey.window);
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    if (window && keyboard.decode(event, message, wParam, lParam)) {
        postInput(window, message, wParam, lParam, event.xkey.x_root, event.xkey.y_root);
    }
}

void Connection::handlePointer(XEvent& event)
{
    Window source;
    int x;
    int y;
    int rootX;
    int rootY;
    unsigned int state;
    if (event.type == MotionNotify) {
        const XMotionEvent& motion = event.xmotion;
        source = motion.window;
        x = motion.x;
        y = motion.y;
        rootX = motion.x_root;
        rootY = motion.y_root;
        state = motion.state;
    } else {
        const XButtonEvent& button = event.xbutton;
        source = button.window;
        x = button.x;
        y = button.y;
        rootX = button.x_root;
        rootY = button.y_root;
        state = button.state;
    }
    WindowRecord* window = windowOf(source);
    if (!window) {
        return;
    }
    if (x < 0 || y < 0 || x >= window->width || y >= window->height) {
        // A drag keeps X reporting to the window it started in. Without capture Win32 reports to
        // the window under the pointer, and nothing outside the application's windows.
        WindowRecord* top = window;
        while (top->parent) {
            top = top->parent;
        }
        window = top->windowAt({rootX, rootY});
        if (!window) {
            return;
        }
        POINT origin = window->screenOrigin();
        x = rootX - origin.x;
        y = rootY - origin.y;
    }
    WPARAM keys = mouseKeys(state);
    if (event.type == MotionNotify) {
        window->pointerInside = true;
        postInput(window, WM_MOUSEMOVE, keys, pointParam(x, y), rootX, rootY);
        return;
    }
    bool press = event.type == ButtonPress;
    switch (event.xbutton.button) {
    case Button1:
        keys = press ? keys | MK_LBUTTON : keys & ~WPARAM(MK_LBUTTON);
        postInput(window, press ? WM_LBUTTONDOWN : WM_LBUTTONUP, keys, pointParam(x, y), rootX, rootY);
        break;
    case Button2:
        keys = press ? keys | MK_MBUTTON : keys & ~WPARAM(MK_MBUTTON);
        postInput(window, press ? WM_MBUTTONDOWN : WM_MBUTTONUP, keys, pointParam(x, y), rootX, rootY);
        break;
    case Button3:
        keys = press ? keys | MK_RBUTTON : keys & ~WPARAM(MK_RBUTTON);
        postInput(window, press ? WM_RBUTTONDOWN : WM_RBUTTONUP, keys, pointParam(x, y), rootX, rootY);
        break;
    case Button4:
    case Button5:
        // One wheel step each; the wheel's position is in screen coordinates, as on Win32.
        if (press) {
            int delta = event.xbutton.button == Button4 ? WHEEL_DELTA : -WHEEL_DELTA;
            postInput(window, WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(static_cast<SHORT>(delta))),
                      pointParam(rootX, rootY), rootX, rootY);
        }
        break;
    default:
        break;
    }
}

void Connection::handleCrossing(XEvent& event)
{
    const XCrossingEvent& crossing = event.xcrossing;
    WindowRecord* window = windowOf(crossing.window);
    if (!window) {
        return;
    }
    if (event.type == EnterNotify) {
        // Passing through on the way into a child does not put the pointer in this window.
        window->pointerInside = crossing.detail != NotifyVirtual && crossing.detail != NotifyNonlinearVirtual;
        return;
    }
    // Grabs and their release cross without the pointer moving; going into a child leaves this
    // window, as on Win32.
    bool stillInside = crossing.detail != NotifyInferior && crossing.x >= 0 && crossing.y >= 0 &&
                       crossing.x < window->width && crossing.y < window->height;
    if (stillInside) {
        return;
    }
    window->pointerInside = false;
    if (window->trackLeave) {
        window->trackLeave = false;
        postInput(window, WM_MOUSELEAVE, 0, 0, crossing.x_root, crossing.y_root);
    }
}

void Connection::handleConfigure(XEvent& event)
{
    const XConfigureEvent& configure = event.xconfigure;
    WindowRecord* window = windowOf(configure.window);
    if (!window || configure.window != configure.event) {
        return;
    }
    // A report the server made before our last move or resize is out of date.
    if (static_cast<long>(configure.serial - window->placeSerial) < 0) {
        return;
    }
    int x = configure.x;
    int y = configure.y;
    if (!configure.send_event && window->reparented) {
        Window child;
        XTranslateCoordinates(xDisplay, configure.window, root, 0, 0, &x, &y, &child);
        if (!WindowRecord::alive(window)) {
            return;
        }
    }
    window->configured(x, y, configure.width, configure.height);
}

void Connection::handleFocus(XEvent& event)
{
    const XFocusChangeEvent& focus = event.xfocus;
    WindowRecord* window = windowOf(focus.window);
    if (!window || !window->topLevel() || focus.mode == NotifyGrab || focus.mode == NotifyUngrab ||
        focus.detail == NotifyPointer) {
        return;
    }
    bool active = event.type == FocusIn || focus.detail == NotifyInferior;
    if (active != window->active) {
        window->active = active;
        window->send(WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
    }
}

void Connection::postInput(WindowRecord* window, UINT message, WPARAM wParam, LPARAM lParam, int rootX, int rootY)
{
    input.push_back(MSG{window->handle(), message, wParam, lParam, MessageQueue::now(), {rootX, rootY}});
}

void Connection::dropInput(WindowRecord* window)
{
    HWND handle = window->handle();
    input.erase(std::remove_if(input.begin(), input.end(), [handle](const MSG& m) { return m.hwnd == handle; }),
                input.end());
}

void Connection::translate(const MSG& keyDown)
{
    std::string typed = keyboard.typed(xDisplay, keyDown);
    for (auto it = typed.rbegin(); it != typed.rend(); ++it) {
        input.push_front(MSG{keyDown.hwnd, WM_CHAR, static_cast<BYTE>(*it), keyDown.lParam, keyDown.time, keyDown.pt});
    }
}

} // namespace vardel::platform::x11

using namespace vardel::platform::x11;
using vardel::platform::posix::fail;

BOOL WINAPI _TrackMouseEvent(LPTRACKMOUSEEVENT track)
{
    if (!track || track->cbSize != sizeof(TRACKMOUSEEVENT)) {
        return fail(ERROR_INVALID_PARAMETER);
    }
    WindowRecord* record = WindowRecord::findOwned(track->hwndTrack);
    if (!record) {
        return FALSE;
    }
    if (!(track->dwFlags & TME_LEAVE)) {
        return TRUE;
    }
    if (track->dwFlags & TME_CANCEL) {
        record->trackLeave = false;
    } else if (record->pointerInside) {
        record->trackLeave = true;
    } else {
        // The pointer is elsewhere already: the notice comes at once.
        record->trackLeave = false;
        record->connection->postInput(record, WM_MOUSELEAVE, 0, 0, 0, 0);
    }
    return TRUE;
}
