#include "platform/x11/WindowRecord.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "platform/posix/LastError.h"
#include "platform/posix/MessageQueue.h"
#include "platform/x11/Connection.h"
#include "platform/x11/DeviceContext.h"
#include "platform/x11/GlContext.h"
#include "platform/x11/Lock.h"
#include "platform/x11/PixelFormats.h"
#include "platform/x11/WindowClass.h"

namespace vardel::platform::x11 {

using posix::fail;

namespace {

// Never destroyed: other threads may invalidate windows while the process exits.
struct WindowRegistry {
    Lock lock;
    std::unordered_set<const WindowRecord*> live;
};

WindowRegistry& registry()
{
    static WindowRegistry* windows = new WindowRegistry;
    return *windows;
}

constexpr int defaultWidth = 640;
constexpr int defaultHeight = 480;

bool empty(const RECT& rect)
{
    return rect.left >= rect.right || rect.top >= rect.bottom;
}

RECT clip(const RECT& rect, int width, int height)
{
    return RECT{std::max<LONG>(rect.left, 0), std::max<LONG>(rect.top, 0), std::min<LONG>(rect.right, width),
                std::min<LONG>(rect.bottom, height)};
}

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

WindowRecord::WindowRecord() = default;

WindowRecord::~WindowRecord() = default;

// Creation and destruction

WindowRecord* WindowRecord::create(const WindowClass& windowClass, DWORD exStyle, LPCSTR name, DWORD style, int x,
                                   int y, int width, int height, HWND parentHandle, HINSTANCE instance, LPVOID parameter)
{
    WindowRecord* parent = nullptr;
    if (parentHandle) {
        parent = findOwned(parentHandle);
        if (!parent) {
            return nullptr;
        }
    } else if (style & WS_CHILD) {
        fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Connection* connection = parent ? parent->connection : Connection::current();
    if (!connection) {
        fail(ERROR_NOT_READY);
        return nullptr;
    }
    auto* record = new WindowRecord;
    record->windowClass = &windowClass;
    record->procedure = windowClass.procedure;
    record->instance = instance ? instance : windowClass.instance;
    // Exactly the bytes asked for: on 64-bit Win32 four bytes hold no pointer-sized slot.
    record->extra.assign(windowClass.extraBytes, 0);
    record->style = style & ~WS_VISIBLE;
    record->exStyle = exStyle;
    record->title = name ? name : "";
    record->parent = parent;
    record->connection = connection;
    record->threadId = GetCurrentThreadId();
    posix::MessageQueue::current();
    record->queue = posix::MessageQueue::find(record->threadId);
    record->positioned = x != CW_USEDEFAULT;
    record->left = x == CW_USEDEFAULT ? 0 : x;
    record->top = x == CW_USEDEFAULT ? 0 : y;
    record->width = width == CW_USEDEFAULT ? defaultWidth : std::max(width, 0);
    record->height = width == CW_USEDEFAULT ? defaultHeight : std::max(height, 0);
    connection->retain();
    {
        Lock::Hold hold(registry().lock);
        registry().live.insert(record);
    }
    if (parent) {
        parent->children.push_back(record);
    }
    // Top-level windows are asked for their limits before WM_CREATE, as on Win32.
    if (!parent && !record->askLimits()) {
        fail(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (!record->createX(parent ? parent->xid : connection->rootWindow(), PixelFormats::get().windowVisual())) {
        record->tearDown(false);
        fail(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    connection->addWindow(record);
    record->dc = std::make_unique<DeviceContext>(record);
    CREATESTRUCTA creation{parameter,     record->instance, nullptr,   parentHandle, record->height,
                           record->width, record->top,      record->left, static_cast<LONG>(style), name,
                           windowClass.name.c_str(), exStyle};
    LRESULT created = record->send(WM_CREATE, 0, reinterpret_cast<LPARAM>(&creation));
    if (alive(record) && created == -1) {
        record->destroy();
    }
    if (!alive(record)) {
        fail(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    record->send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(record->width, record->height));
    if (alive(record)) {
        record->send(WM_MOVE, 0, MAKELPARAM(record->left, record->top));
    }
    if (alive(record) && (style & WS_VISIBLE)) {
        record->show(true);
    }
    if (!alive(record)) {
        fail(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return record;
}

bool WindowRecord::createX(unsigned long parentId, unsigned long wantedVisual)
{
    Display* display = connection->display();
    int screen = DefaultScreen(display);
    Visual* visual = DefaultVisual(display, screen);
    int depth = DefaultDepth(display, screen);
    if (wantedVisual && wantedVisual != XVisualIDFromVisual(visual)) {
        XVisualInfo pattern{};
        pattern.visualid = wantedVisual;
        pattern.screen = screen;
        int count = 0;
        XVisualInfo* found = XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &pattern, &count);
        if (found && count > 0) {
            visual = found[0].visual;
            depth = found[0].depth;
        }
        if (found) {
            XFree(found);
        }
    }
    XSetWindowAttributes attributes{};
    // No background: the server never clears what the window procedure or GL drew.
    attributes.background_pixmap = None;
    attributes.border_pixel = 0;
    attributes.event_mask = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                            PointerMotionMask | EnterWindowMask | LeaveWindowMask;
    if (topLevel()) {
        attributes.event_mask |= StructureNotifyMask | FocusChangeMask;
    }
    // A visual unlike the parent's needs a colormap of its own, or the server answers BadMatch.
    if (visual == DefaultVisual(display, screen)) {
        attributes.colormap = DefaultColormap(display, screen);
    } else {
        attributes.colormap = colormap = XCreateColormap(display, connection->rootWindow(), visual, AllocNone);
    }
    xid = XCreateWindow(display, parentId, left, top, std::max(width, 1), std::max(height, 1), 0, depth, InputOutput,
                        visual, CWBackPixmap | CWBorderPixel | CWEventMask | CWColormap, &attributes);
    if (!xid) {
        return false;
    }
    visualId = XVisualIDFromVisual(visual);
    if (topLevel()) {
        Atom deleteAtom = connection->deleteAtom;
        XSetWMProtocols(display, xid, &deleteAtom, 1);
        applyTitle();
        setHints();
    }
    return true;
}

void WindowRecord::destroy()
{
    tearDown(true);
}

void WindowRecord::abandon(Connection* connection)
{
    std::vector<WindowRecord*> tops;
    {
        Lock::Hold hold(registry().lock);
        for (const WindowRecord* window : registry().live) {
            if (window->connection == connection && !window->parent) {
                tops.push_back(const_cast<WindowRecord*>(window));
            }
        }
    }
    for (WindowRecord* window : tops) {
        window->tearDown(false);
    }
}

void WindowRecord::tearDown(bool notify)
{
    if (destroying) {
        return;
    }
    std::vector<WindowRecord*> tree;
    collect(tree);
    for (WindowRecord* window : tree) {
        window->destroying = true;
    }
    if (notify) {
        for (WindowRecord* window : tree) {
            if (alive(window)) {
                window->send(WM_DESTROY, 0, 0);
            }
        }
        // Children made while the tree was being told go with it.
        tree.clear();
        collect(tree);
    }
    // A context still drawing on these windows would fail on its next swap (BadDrawable).
    GlContext::leaveWindow(this);
    if (parent) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    Connection* owner = connection;
    if (xid) {
        XDestroyWindow(owner->display(), xid);
    }
    for (auto it = tree.rbegin(); it != tree.rend(); ++it) {
        (*it)->free();
    }
    for (std::size_t i = 0; i < tree.size(); ++i) {
        owner->release();
    }
}

void WindowRecord::free()
{
    {
        Lock::Hold hold(registry().lock);
        registry().live.erase(this);
    }
    connection->removeWindow(this);
    if (colormap) {
        XFreeColormap(connection->display(), colormap);
    }
    delete this;
}

void WindowRecord::collect(std::vector<WindowRecord*>& tree)
{
    tree.push_back(this);
    for (WindowRecord* child : children) {
        child->collect(tree);
    }
}

// Finding records

WindowRecord* WindowRecord::find(HWND window)
{
    auto* record = reinterpret_cast<WindowRecord*>(window);
    if (!alive(record)) {
        fail(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return record;
}

WindowRecord* WindowRecord::findOwned(HWND window)
{
    WindowRecord* record = find(window);
    if (record && record->threadId != GetCurrentThreadId()) {
        fail(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return record;
}

bool WindowRecord::alive(const WindowRecord* record)
{
    Lock::Hold hold(registry().lock);
    return record && registry().live.count(record) > 0;
}

LRESULT WindowRecord::send(UINT message, WPARAM wParam, LPARAM lParam)
{
    return procedure ? procedure(handle(), message, wParam, lParam) : 0;
}

bool WindowRecord::showing() const
{
    for (const WindowRecord* window = this; window; window = window->parent) {
        if (!window->visible) {
            return false;
        }
    }
    return true;
}

POINT WindowRecord::screenOrigin() const
{
    POINT origin{left, top};
    if (parent) {
        POINT above = parent->screenOrigin();
        origin.x += above.x;
        origin.y += above.y;
    }
    return origin;
}

WindowRecord* WindowRecord::windowAt(POINT point)
{
    if (!visible) {
        return nullptr;
    }
    POINT origin = screenOrigin();
    if (point.x < origin.x || point.y < origin.y || point.x >= origin.x + width || point.y >= origin.y + height) {
        return nullptr;
    }
    // Later children are stacked above earlier ones.
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (WindowRecord* hit = (*it)->windowAt(point)) {
            return hit;
        }
    }
    return this;
}

bool WindowRecord::within(const WindowRecord* window) const
{
    for (const WindowRecord* ancestor = this; ancestor; ancestor = ancestor->parent) {
        if (ancestor == window) {
            return true;
        }
    }
    return false;
}

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

// Painting

bool WindowRecord::invalidate(HWND window, const RECT* rect, bool erase)
{
    auto* record = reinterpret_cast<WindowRecord*>(window);
    std::shared_ptr<posix::MessageQueue> queue;
    {
        Lock::Hold hold(registry().lock);
        if (!window || !registry().live.count(record)) {
            return fail(ERROR_INVALID_WINDOW_HANDLE);
        }
        if (rect && empty(*rect)) {
            return true;
        }
        if (!rect) {
            record->invalidAll = true;
        } else if (!record->invalid) {
            record->invalidRect = *rect;
        } else {
            RECT& area = record->invalidRect;
            area = RECT{std::min(area.left, rect->left), std::min(area.top, rect->top),
                        std::max(area.right, rect->right), std::max(area.bottom, rect->bottom)};
        }
        record->invalid = true;
        record->eraseWanted = record->eraseWanted || erase;
        queue = record->queue;
    }
    // The owner may be asleep in GetMessageA: have it look at its windows again.
    if (queue) {
        queue->wake();
    }
    return true;
}

void WindowRecord::validate(const RECT* rect)
{
    Lock::Hold hold(registry().lock);
    if (!invalid) {
        return;
    }
    if (rect) {
        // The invalid region is kept as one rectangle: a part of it cannot be taken away.
        RECT area = invalidAll ? RECT{0, 0, width, height} : clip(invalidRect, width, height);
        if (rect->left > area.left || rect->top > area.top || rect->right < area.right || rect->bottom < area.bottom) {
            return;
        }
    }
    invalid = false;
    invalidAll = false;
    eraseWanted = false;
}

bool WindowRecord::takeInvalid(RECT& rect, bool& erase)
{
    Lock::Hold hold(registry().lock);
    rect = RECT{0, 0, 0, 0};
    erase = false;
    if (!invalid) {
        return false;
    }
    rect = invalidAll ? RECT{0, 0, width, height} : clip(invalidRect, width, height);
    erase = eraseWanted;
    invalid = false;
    invalidAll = false;
    eraseWanted = false;
    return true;
}

WindowRecord* WindowRecord::firstInvalid(const std::vector<WindowRecord*>& windows, HWND filter)
{
    Lock::Hold hold(registry().lock);
    for (WindowRecord* window : windows) {
        if (!window->invalid || (filter && filter != window->handle()) || !window->showing()) {
            continue;
        }
        RECT area = window->invalidAll ? RECT{0, 0, window->width, window->height}
                                       : clip(window->invalidRect, window->width, window->height);
        if (empty(area)) {
            window->invalid = false;
            window->invalidAll = false;
            window->eraseWanted = false;
            continue;
        }
        return window;
    }
    return nullptr;
}

} // namespace vardel::platform::x11

using namespace vardel::platform::x11;
using vardel::platform::posix::fail;

// Window classes and procedures

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                            int height, HWND parent, HMENU, HINSTANCE instance, LPVOID parameter)
{
    const WindowClass* windowClass = WindowClass::find(className);
    if (!windowClass) {
        fail(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    WindowRecord* record =
        WindowRecord::create(*windowClass, exStyle, windowName, style, x, y, width, height, parent, instance, parameter);
    return record ? record->handle() : nullptr;
}

BOOL WINAPI DestroyWindow(HWND window)
{
    WindowRecord* record = WindowRecord::findOwned(window);
    if (!record) {
        return FALSE;
    }
    record->destroy();
    return TRUE;
}

BOOL WINAPI IsWindow(HWND window)
{
    return WindowRecord::alive(reinterpret_cast<WindowRecord*>(window)) ? TRUE : FALSE;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        if (BeginPaint(window, &paint)) {
            EndPaint(window, &paint);
        }
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEWHEEL: {
        // The wheel goes up the tree until a window takes it.
        WindowRecord* record = WindowRecord::findOwned(window);
        return record && record->parent ? record->parent->send(message, wParam, lParam) : 0;
    }
    default:
        return 0;
    }
}

LRESULT WINAPI CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return procedure ? procedure(window, message, wParam, lParam) : 0;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND window, int index)
{
    WindowRecord* record = WindowRecord::find(window);
    if (!record) {
        return 0;
    }
    switch (index) {
    case GWLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(record->procedure);
    case GWLP_USERDATA:
        return record->userData;
    case GWLP_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(record->instance);
    default:
        break;
    }
    if (index < 0 || static_cast<std::size_t>(index) + sizeof(LONG_PTR) > record->extra.size()) {
        fail(ERROR_INVALID_INDEX);
        return 0;
    }
    LONG_PTR value;
    std::memcpy(&value, record->extra.data() + index, sizeof value);
    return value;
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND window, int index, LONG_PTR value)
{
    WindowRecord* record = WindowRecord::find(window);
    if (!record) {
        return 0;
    }
    // A previous value of 0 is told from failure by the last error, as on Win32.
    SetLastError(ERROR_SUCCESS);
    LONG_PTR previous;
    switch (index) {
    case GWLP_WNDPROC:
        previous = reinterpret_cast<LONG_PTR>(record->procedure);
        record->procedure = reinterpret_cast<WNDPROC>(value);
        return previous;
    case GWLP_USERDATA:
        previous = record->userData;
        record->userData = value;
        return previous;
    case GWLP_HINSTANCE:
        previous = reinterpret_cast<LONG_PTR>(record->instance);
        record->instance = reinterpret_cast<HINSTANCE>(value);
        return previous;
    default:
        break;
    }
    if (index < 0 || static_cast<std::size_t>(index) + sizeof(LONG_PTR) > record->extra.size()) {
        fail(ERROR_INVALID_INDEX);
        return 0;
    }
    std::memcpy(&previous, record->extra.data() + index, sizeof previous);
    std::memcpy(record->extra.data() + index, &value, sizeof value);
    return previous;
}

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

BOOL WINAPI UpdateWindow(HWND window)
{
    WindowRecord* record = WindowRecord::findOwned(window);
    if (!record) {
        return FALSE;
    }
    std::vector<WindowRecord*> self{record};
    if (WindowRecord::firstInvalid(self, window)) {
        record->send(WM_PAINT, 0, 0);
    }
    return TRUE;
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

// Messages and painting

LRESULT WINAPI DispatchMessageA(const MSG* message)
{
    if (!message || !message->hwnd) {
        return 0;
    }
    WindowRecord* record = WindowRecord::findOwned(message->hwnd);
    return record ? record->send(message->message, message->wParam, message->lParam) : 0;
}

BOOL WINAPI InvalidateRect(HWND window, LPCRECT rect, BOOL erase)
{
    return WindowRecord::invalidate(window, rect, erase != FALSE) ? TRUE : FALSE;
}

BOOL WINAPI ValidateRect(HWND window, LPCRECT rect)
{
    WindowRecord* record = WindowRecord::findOwned(window);
    if (!record) {
        return FALSE;
    }
    record->validate(rect);
    return TRUE;
}

HDC WINAPI BeginPaint(HWND window, LPPAINTSTRUCT paint)
{
    WindowRecord* record = WindowRecord::findOwned(window);
    if (!record || !paint) {
        if (record) {
            fail(ERROR_INVALID_PARAMETER);
        }
        return nullptr;
    }
    *paint = PAINTSTRUCT{};
    HDC dc = record->dc->handle();
    paint->hdc = dc;
    bool erase = false;
    record->takeInvalid(paint->rcPaint, erase);
    if (erase) {
        // fErase tells the painter that the background still needs erasing.
        paint->fErase = record->send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
        if (!WindowRecord::alive(record)) {
            return nullptr;
        }
    }
    return dc;
}

BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT*)
{
    return WindowRecord::findOwned(window) ? TRUE : FALSE;
}

// Input state

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
