#include "platform/x11/WindowRecord.h"

#include <algorithm>
#include <string>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "platform/posix/LastError.h"
#include "platform/x11/Connection.h"
#include "platform/x11/PixelFormats.h"

namespace vardel::platform::x11 {

using posix::fail;

namespace {

std::string utf8FromLatin1(const std::string& text)
{
    std::string converted;
    for (unsigned char c : text) {
        if (c < 0x80) {
            converted += static_cast<char>(c);
        } else {
            converted += static_cast<char>(0xC0 | (c >> 6));
            converted += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return converted;
}

} // namespace

// Placement

void WindowRecord::place(int newLeft, int newTop, int newWidth, int newHeight, bool move, bool resize)
{
    bool moved = move && (newLeft != left || newTop != top);
    bool sized = resize && (newWidth != width || newHeight != height);
    if (!moved && !sized) {
        return;
    }
    if (moved) {
        left = newLeft;
        top = newTop;
    }
    if (sized) {
        width = newWidth;
        height = newHeight;
    }
    Display* display = connection->display();
    placeSerial = NextRequest(display);
    XMoveResizeWindow(display, xid, left, top, std::max(width, 1), std::max(height, 1));
    notifyPlacement(moved, sized);
}

void WindowRecord::configured(int newLeft, int newTop, int newWidth, int newHeight)
{
    bool moved = newLeft != left || newTop != top;
    bool sized = newWidth != width || newHeight != height;
    left = newLeft;
    top = newTop;
    width = newWidth;
    height = newHeight;
    notifyPlacement(moved, sized);
}

void WindowRecord::notifyPlacement(bool moved, bool sized)
{
    if (moved) {
        send(WM_MOVE, 0, MAKELPARAM(left, top));
    }
    if (sized && alive(this)) {
        send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    }
}

bool WindowRecord::askLimitsAgain()
{
    int wantedWidth = width;
    int wantedHeight = height;
    if (!askLimits()) {
        return false;
    }
    int fitWidth = width;
    int fitHeight = height;
    width = wantedWidth;
    height = wantedHeight;
    place(left, top, fitWidth, fitHeight, false, true);
    return alive(this);
}

bool WindowRecord::askLimits()
{
    const PixelFormats& formats = PixelFormats::get();
    MINMAXINFO limits{};
    limits.ptMaxSize = {formats.screenWidth, formats.screenHeight};
    limits.ptMinTrackSize = {1, 1};
    limits.ptMaxTrackSize = {32767, 32767};
    send(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    if (!alive(this)) {
        return false;
    }
    minimumSize = {std::max<LONG>(limits.ptMinTrackSize.x, 1), std::max<LONG>(limits.ptMinTrackSize.y, 1)};
    maximumSize = {std::max(limits.ptMaxTrackSize.x, minimumSize.x), std::max(limits.ptMaxTrackSize.y, minimumSize.y)};
    width = std::clamp<int>(width, minimumSize.x, maximumSize.x);
    height = std::clamp<int>(height, minimumSize.y, maximumSize.y);
    if (xid) {
        setHints();
    }
    return true;
}

void WindowRecord::setHints()
{
    XSizeHints* hints = XAllocSizeHints();
    if (!hints) {
        return;
    }
    // Static gravity: positions given to and reported by the window manager are the client
    // area's, as there is no non-client area here.
    hints->flags = PMinSize | PMaxSize | PWinGravity | (positioned ? PPosition | USPosition : 0);
    hints->min_width = minimumSize.x;
    hints->min_height = minimumSize.y;
    hints->max_width = maximumSize.x;
    hints->max_height = maximumSize.y;
    hints->win_gravity = StaticGravity;
    hints->x = left;
    hints->y = top;
    XSetWMNormalHints(connection->display(), xid, hints);
    XFree(hints);
}

void WindowRecord::show(bool visible)
{
    if (visible == this->visible) {
        return;
    }
    // The placement of ShowWindow asks a top-level window for its limits, as on Win32. They were
    // first asked before WM_CREATE, when the procedure may not know them yet, and the window
    // manager must have them before the window is mapped.
    if (visible && topLevel() && !askLimitsAgain()) {
        return;
    }
    this->visible = visible;
    style = visible ? style | WS_VISIBLE : style & ~WS_VISIBLE;
    Display* display = connection->display();
    if (!visible) {
        XUnmapWindow(display, xid);
        if (topLevel() && active) {
            active = false;
            send(WM_ACTIVATE, WA_INACTIVE, 0);
        }
        return;
    }
    XMapWindow(display, xid);
    std::vector<WindowRecord*> tree;
    collect(tree);
    for (WindowRecord* window : tree) {
        invalidate(window->handle(), nullptr, true);
    }
    // Without a window manager nothing else activates a window that appears.
    if (topLevel() && !active) {
        active = true;
        send(WM_ACTIVATE, WA_ACTIVE, 0);
    }
}

void WindowRecord::setTitle(const char* text)
{
    title = text ? text : "";
    applyTitle();
}

void WindowRecord::applyTitle()
{
    if (!topLevel() || !xid) {
        return;
    }
    Display* display = connection->display();
    XStoreName(display, xid, title.c_str());
    std::string utf8 = utf8FromLatin1(title);
    XChangeProperty(display, xid, connection->nameAtom, connection->utf8Atom, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
}

bool WindowRecord::usePixelFormat(int format)
{
    const PixelFormats::Format* chosen = PixelFormats::get().format(format);
    if (!chosen) {
        return fail(ERROR_INVALID_PIXEL_FORMAT);
    }
    if (chosen->visualId == visualId) {
        pixelFormat = format;
        return true;
    }
    // An X window's visual is fixed when it is made, so the window is made again with the
    // format's visual, in the same place of the stack and with the same children.
    Display* display = connection->display();
    unsigned long oldId = xid;
    unsigned long oldColormap = colormap;
    colormap = 0;
    if (!createX(parent ? parent->xid : connection->rootWindow(), chosen->visualId)) {
        xid = oldId;
        colormap = oldColormap;
        return fail(ERROR_INVALID_PIXEL_FORMAT);
    }
    XWindowChanges changes{};
    changes.sibling = oldId;
    changes.stack_mode = Above;
    XConfigureWindow(display, xid, CWSibling | CWStackMode, &changes);
    for (WindowRecord* child : children) {
        XReparentWindow(display, child->xid, xid, child->left, child->top);
    }
    if (visible) {
        XMapWindow(display, xid);
    }
    XDestroyWindow(display, oldId);
    if (oldColormap) {
        XFreeColormap(display, oldColormap);
    }
    connection->renameWindow(this, oldId);
    pixelFormat = format;
    if (visible) {
        invalidate(handle(), nullptr, true);
    }
    return true;
}

} // namespace vardel::platform::x11

using namespace vardel::platform::x11;
using vardel::platform::posix::fail;

BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text)
{
    WindowRecord* record = WindowRecord::findOwned(window);
    if (!record) {
        return FALSE;
    }
    record->setTitle(text);
    return TRUE;
}

// Window placement

BOOL WINAPI ShowWindow(HWND window, int command)
{
    WindowRecord* record = WindowRecord::findOwned(window);
    if (!record) {
        return FALSE;
    }
    BOOL wasVisible = record->visible ? TRUE : FALSE;
    record->show(command != SW_HIDE);
    return wasVisible;
}

BOOL WINAPI SetWindowPos(HWND window, HWND, int x, int y, int width, int height, UINT flags)
{
    WindowRecord* record = WindowRecord::findOwned(window);
    if (!record) {
        return FALSE;
    }
    bool resize = !(flags & SWP_NOSIZE);
    if (resize && record->topLevel() && !(flags & SWP_NOSENDCHANGING) && !record->askLimits()) {
        return TRUE;
    }
    if (resize && record->topLevel()) {
        width = std::clamp<int>(width, record->minimumSize.x, record->maximumSize.x);
        height = std::clamp<int>(height, record->minimumSize.y, record->maximumSize.y);
    }
    record->place(x, y, std::max(width, 0), std::max(height, 0), !(flags & SWP_NOMOVE), resize);
    if (WindowRecord::alive(record) && (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))) {
        record->show((flags & SWP_SHOWWINDOW) != 0);
    }
    return TRUE;
}

BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD, BOOL, DWORD)
{
    // The window manager draws the frame: a window is its client area.
    return rect ? TRUE : fail(ERROR_INVALID_PARAMETER);
}

BOOL WINAPI GetWindowRect(HWND window, LPRECT rect)
{
    WindowRecord* record = WindowRecord::find(window);
    if (!record || !rect) {
        return record ? fail(ERROR_INVALID_PARAMETER) : FALSE;
    }
    POINT origin = record->screenOrigin();
    *rect = RECT{origin.x, origin.y, origin.x + record->width, origin.y + record->height};
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND window, LPRECT rect)
{
    WindowRecord* record = WindowRecord::find(window);
    if (!record || !rect) {
        return record ? fail(ERROR_INVALID_PARAMETER) : FALSE;
    }
    *rect = RECT{0, 0, record->width, record->height};
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND window, LPPOINT point)
{
    WindowRecord* record = WindowRecord::find(window);
    if (!record || !point) {
        return record ? fail(ERROR_INVALID_PARAMETER) : FALSE;
    }
    POINT origin = record->screenOrigin();
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}
