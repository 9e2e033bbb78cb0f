#include "gui/Window.h"

#include "application/Application.h"
#include "application/Message.h"
#include "gui/Anchors.h"

namespace vardel::gui {

namespace {

// Registered once per process, by the first window that opens.
void registerWindowClass()
{
    static const bool registered = [] {
        WNDCLASSEXA description{};
        description.cbSize = sizeof description;
        description.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
        description.lpfnWndProc = Window::procedure;
        description.hInstance = application::instanceHandle;
        description.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
        description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        description.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<LONG_PTR>(COLOR_WINDOW));
        description.lpszClassName = Window::windowClass;
        RegisterClassExA(&description);
        return true;
    }();
    (void)registered;
}

// The view a paintView or resizeView message names, or null.
View* viewOf(application::Message& message)
{
    application::Message::Parameter* parameter = message.find("view");
    return parameter ? static_cast<View*>(parameter->pointer()) : nullptr;
}

} // namespace

Window::Window()
    : InputHooks(true), frame(0, 0, 0, 0), previousFrame(0, 0, 0, 0), minimumSize(2.0f, 2.0f), maximumSize(4096.0f, 4096.0f),
      focusView(nullptr), isOpen(false), openError(0), handle(nullptr), deviceContext(nullptr), style(0), palette(nullptr)
{
}

Window::~Window()
{
    if (isRunning()) {
        close();
    }
    if (focusView) {
        focusView->focusLost();
        focusView = nullptr;
    }
    while (views.count > 0) {
        removeView(views.begin().operator->());
    }
}

types::String Window::getName() const
{
    return title;
}

bool Window::handleMessage(application::Message& message)
{
    switch (message.what) {
    case openWindow:
        return serveOpen();
    case closeWindow:
        serveClose();
        return true;
    case paintView:
        if (View* view = viewOf(message)) {
            PAINTSTRUCT paint;
            BeginPaint(handle, &paint);
            view->paint(context, view->bounds);
            EndPaint(handle, &paint);
        }
        return true;
    case resizeView:
        if (View* view = viewOf(message)) {
            view->resized(math::Point(view->frame.width, view->frame.height));
        }
        return true;
    default:
        return Looper::handleMessage(message);
    }
}

bool Window::openViews()
{
    for (View& view : views) {
        view.open();
    }
    return true;
}

bool Window::closeViews()
{
    for (View& view : views) {
        view.close();
    }
    return true;
}

bool Window::closeRequested()
{
    close();
    return true;
}

bool Window::activated()
{
    for (View& view : views) {
        view.activated();
    }
    return true;
}

bool Window::deactivated()
{
    for (View& view : views) {
        view.deactivated();
    }
    return true;
}

bool Window::moved(math::Point)
{
    previousFrame = frame;
    return true;
}

bool Window::resized(math::Point)
{
    layout();
    return true;
}

bool Window::paint(Context&, const math::Rectangle&)
{
    return true;
}

bool Window::mouseWheel(float delta, std::uint32_t buttons)
{
    return focusView ? focusView->mouseWheel(delta, buttons) : true;
}

void Window::setTitle(const char* text)
{
    title = text;
    if (isOpen) {
        SetWindowTextA(handle, title.chars());
    }
}

void Window::setSize(math::Point size)
{
    frame.width = size.x;
    frame.height = size.y;
    if (!isOpen) {
        resized(size);
        return;
    }
    int x = static_cast<int>(frame.x);
    int y = static_cast<int>(frame.y);
    RECT rect{x, y, x + static_cast<int>(frame.width), y + static_cast<int>(frame.height)};
    AdjustWindowRectEx(&rect, style, FALSE, WS_EX_CLIENTEDGE);
    SetWindowPos(handle, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOCOPYBITS | SWP_NOZORDER | SWP_NOMOVE);
}

bool Window::open()
{
    if (isRunning() || isOpen) {
        return false;
    }
    if (thread) {
        // The thread of an earlier opening ended on its own (closed from the window thread).
        stop();
    }
    if (!start()) {
        return false;
    }
    openSignal.reset();
    send(this, openWindow);
    openSignal.wait();
    if (!isOpen) {
        // The window thread has only left its loop; let it end before saying so.
        stop();
        return false;
    }
    return true;
}

bool Window::close()
{
    if (!isRunning() || !isOpen) {
        return false;
    }
    openSignal.reset();
    send(this, closeWindow);
    openSignal.wait();
    stop();
    return true;
}

bool Window::addView(View* view)
{
    if (view->window || view->parent) {
        return false;
    }
    views.append(view);
    addHandler(view);
    view->window = this;
    if (isOpen) {
        view->open();
    }
    return true;
}

bool Window::removeView(View* view)
{
    if (view->window != this || view->parent) {
        return false;
    }
    // The last of the two holds let go below may destroy the view.
    view->retain();
    if (focusView == view) {
        view->focusLost();
        focusView = nullptr;
    }
    if (isOpen) {
        view->close();
    }
    view->window = nullptr;
    views.remove(view);
    removeHandler(view);
    view->release();
    return true;
}

bool Window::serveOpen()
{
    registerWindowClass();
    style = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX;
    int x = static_cast<int>(frame.x);
    int y = static_cast<int>(frame.y);
    RECT rect{x, y, x + static_cast<int>(frame.width), y + static_cast<int>(frame.height)};
    AdjustWindowRectEx(&rect, style, FALSE, WS_EX_CLIENTEDGE);
    HWND created = CreateWindowExA(WS_EX_CLIENTEDGE, windowClass, title.chars(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                                   rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                   application::instanceHandle, this);
    HDC dc = created ? GetDC(created) : nullptr;
    if (!dc) {
        openError = GetLastError();
        if (created) {
            DestroyWindow(created);
        }
        stop();
        openSignal.set();
        return false;
    }
    handle = created;
    deviceContext = dc;
    SetMapMode(dc, MM_TEXT);
    SetGraphicsMode(dc, GM_ADVANCED);
    if (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) {
        paletteEntries.palVersion = 0x300;
        paletteEntries.palNumEntries = LogicalPalette::capacity;
        palette = CreatePalette(paletteEntries.get());
        DeleteObject(SelectPalette(dc, palette, FALSE));
    }
    RECT client;
    GetClientRect(handle, &client);
    POINT origin{client.left, client.top};
    ClientToScreen(handle, &origin);
    frame = math::Rectangle(static_cast<float>(origin.x), static_cast<float>(origin.y),
                            static_cast<float>(client.right - client.left),
                            static_cast<float>(client.bottom - client.top));
    context.handle = handle;
    context.deviceContext = dc;
    openError = 0;
    isOpen = true;
    focusView = nullptr;
    openViews();
    ShowWindow(handle, SW_SHOW);
    UpdateWindow(handle);
    // Set last, so that whoever opened the window finds its views open too.
    openSignal.set();
    return true;
}

void Window::serveClose()
{
    HWND closing = handle;
    letGo();
    if (closing) {
        DestroyWindow(closing);
    }
    openSignal.set();
}

void Window::letGo()
{
    closeViews();
    if (handle) {
        if (palette) {
            UnrealizeObject(palette);
            DeleteObject(palette);
            palette = nullptr;
        }
        ReleaseDC(handle, deviceContext);
        deviceContext = nullptr;
        handle = nullptr;
        context.handle = nullptr;
        context.deviceContext = nullptr;
    }
    // Before the native window goes, so that its WM_DESTROY is known for the window's own.
    isOpen = false;
    focusView = nullptr;
}

void Window::layout()
{
    float dw = frame.width - previousFrame.width;
    float dh = frame.height - previousFrame.height;
    if (dw != 0 || dh != 0) {
        for (View& view : views) {
            if (!view.anchors) {
                continue;
            }
            followAnchors(view.anchors, view.frame, dw, dh);
            view.setFrame();
        }
    }
    previousFrame = frame;
}

LRESULT Window::realizePalette(BOOL background)
{
    if (!palette) {
        return 0;
    }
    SelectPalette(deviceContext, palette, background);
    RealizePalette(deviceContext);
    return 1;
}

LRESULT CALLBACK Window::procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        auto* creation = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
        return 0;
    }
    auto* window = reinterpret_cast<Window*>(GetWindowLongPtrA(handle, GWLP_USERDATA));
    if (!window) {
        // Asked for the tracking limits before WM_CREATE: nothing is known yet.
        return message == WM_GETMINMAXINFO ? 1 : DefWindowProcA(handle, message, wParam, lParam);
    }
    View* focus = window->focusView;
    switch (message) {
    case WM_MOVE: {
        RECT client;
        GetClientRect(handle, &client);
        POINT origin{client.left, client.top};
        ClientToScreen(handle, &origin);
        window->frame.x = static_cast<float>(origin.x);
        window->frame.y = static_cast<float>(origin.y);
        window->moved(window->frame.origin());
        return 0;
    }
    case WM_SIZE: {
        RECT client;
        GetClientRect(handle, &client);
        window->frame.width = static_cast<float>(client.right - client.left);
        window->frame.height = static_cast<float>(client.bottom - client.top);
        window->resized(window->frame.size());
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_ACTIVE || LOWORD(wParam) == WA_CLICKACTIVE) {
            window->activated();
        } else {
            window->deactivated();
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(handle, &paint);
        const RECT& r = paint.rcPaint;
        window->paint(window->context, math::Rectangle(static_cast<float>(r.left), static_cast<float>(r.top),
                                                       static_cast<float>(r.right - r.left + 1),
                                                       static_cast<float>(r.bottom - r.top + 1)));
        static constexpr XFORM identity{1, 0, 0, 1, 0, 0};
        SetWorldTransform(window->context.deviceContext, &identity);
        EndPaint(handle, &paint);
        return 0;
    }
    case WM_CLOSE:
        window->closeRequested();
        return 0;
    case WM_DESTROY:
        // Destroyed by someone else (another program, or a window manager that does not ask): the
        // window is closed already, and the owner hears of it as of the close box.
        if (window->isOpen) {
            window->letGo();
            window->closeRequested();
        }
        return 0;
    case WM_GETMINMAXINFO: {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize = {static_cast<LONG>(window->minimumSize.x), static_cast<LONG>(window->minimumSize.y)};
        limits->ptMaxTrackSize = {static_cast<LONG>(window->maximumSize.x), static_cast<LONG>(window->maximumSize.y)};
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_QUERYNEWPALETTE:
        return window->realizePalette(FALSE);
    case WM_PALETTECHANGED:
        return reinterpret_cast<HWND>(wParam) == handle ? 0 : window->realizePalette(TRUE);
    default:
        break;
    }
    InputHooks* keyTarget = focus ? static_cast<InputHooks*>(focus) : window;
    LRESULT result;
    if (window->serveInput(handle, message, wParam, lParam, {keyTarget, nullptr, false}, result)) {
        return result;
    }
    return DefWindowProcA(handle, message, wParam, lParam);
}

} // namespace vardel::gui
