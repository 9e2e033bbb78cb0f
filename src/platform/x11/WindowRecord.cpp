#include "platform/x11/WindowRecord.h"

#include <algorithm>
#include <cstring>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "platform/posix/LastError.h"
#include "platform/posix/MessageQueue.h"
#include "platform/x11/Connection.h"
#include "platform/x11/DeviceContext.h"
#include "platform/x11/GlContext.h"
#include "platform/x11/PixelFormats.h"
#include "platform/x11/WindowClass.h"

namespace vardel::platform::x11 {

using posix::fail;

namespace {

constexpr int defaultWidth = 640;
constexpr int defaultHeight = 480;

} // namespace

WindowRecord::Registry& WindowRecord::registry()
{
    // Never destroyed: other threads may invalidate windows while the process exits.
    static Registry* windows = new Registry;
    return *windows;
}

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
        // The last error says why the display could not be reached.
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
        record->tearDown(false, false);
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
    tearDown(true, false);
}

void WindowRecord::destroyedElsewhere()
{
    tearDown(true, true);
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
        window->tearDown(false, false);
    }
}

void WindowRecord::tearDown(bool notify, bool gone)
{
    if (destroying) {
        return;
    }
    std::vector<WindowRecord*> tree;
    collect(tree);
    for (WindowRecord* window : tree) {
        window->destroying = true;
    }
    if (gone) {
        // What the procedures do on WM_DESTROY must not draw on a window that no longer exists.
        GlContext::leaveWindow(this);
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
    if (xid && !gone) {
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

// Messages

LRESULT WINAPI DispatchMessageA(const MSG* message)
{
    if (!message || !message->hwnd) {
        return 0;
    }
    WindowRecord* record = WindowRecord::findOwned(message->hwnd);
    return record ? record->send(message->message, message->wParam, message->lParam) : 0;
}
