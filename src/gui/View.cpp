#include "gui/View.h"

#include "application/Application.h"
#include "gui/Window.h"

namespace vardel::gui {

namespace {

// Registered once per process, by the first view that opens.
void registerViewClass()
{
    static const bool registered = [] {
        WNDCLASSEXA description{};
        description.cbSize = sizeof description;
        description.style = CS_OWNDC;
        description.lpfnWndProc = View::procedure;
        // Slot 0 holds the view: a pointer, 8 bytes on 64-bit Windows.
        description.cbWndExtra = sizeof(LONG_PTR);
        description.hInstance = application::instanceHandle;
        description.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
        description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        description.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<LONG_PTR>(COLOR_WINDOW));
        description.lpszClassName = View::windowClass;
        RegisterClassExA(&description);
        return true;
    }();
    (void)registered;
}

} // namespace

View::View(const math::Rectangle& rectangle)
    : InputHooks(true), window(nullptr), parent(nullptr), bounds(0, 0, rectangle.width, rectangle.height), frame(rectangle),
      anchors(0), handle(nullptr), deviceContext(nullptr), mouseInside(false)
{
    updateTransform();
}

View::~View()
{
    if (window) {
        // removeView drops the window's holds; the count taken here keeps them from destroying
        // the view a second time.
        retain();
        retain();
        window->removeView(this);
    }
}

types::String View::getName() const
{
    return name;
}

math::Point View::size()
{
    return math::Point(frame.width, frame.height);
}

bool View::paint(Context&, const math::Rectangle&)
{
    return true;
}

bool View::open()
{
    const graphics::Transform<float>& t = localTransform;
    int x = static_cast<int>(frame.x + t.a * bounds.x + t.b * bounds.y + t.tx);
    int y = static_cast<int>(frame.y + t.c * bounds.x + t.d * bounds.y + t.ty);
    int width = static_cast<int>(t.a * bounds.width + t.b * bounds.height);
    int height = static_cast<int>(t.c * bounds.width + t.d * bounds.height);
    HWND parentHandle = parent ? parent->context.handle : window ? window->handle : nullptr;
    registerViewClass();
    HWND created = CreateWindowExA(0, windowClass, "view", WS_CHILD | WS_VISIBLE, x, y, width, height, parentHandle,
                                   nullptr, application::instanceHandle, this);
    if (!created) {
        return false;
    }
    deviceContext = GetDC(created);
    SetMapMode(deviceContext, MM_TEXT);
    SetGraphicsMode(deviceContext, GM_ADVANCED);
    context.handle = created;
    context.deviceContext = deviceContext;
    mouseInside = false;
    handle = created;
    return true;
}

bool View::close()
{
    HWND closing = handle;
    if (!closing || !deviceContext) {
        return false;
    }
    ReleaseDC(closing, deviceContext);
    handle = nullptr;
    DestroyWindow(closing);
    deviceContext = nullptr;
    context.handle = nullptr;
    context.deviceContext = nullptr;
    return true;
}

bool View::activated()
{
    return true;
}

bool View::deactivated()
{
    return true;
}

bool View::resized(math::Point)
{
    return true;
}

bool View::focusLost()
{
    return true;
}

void View::updateTransform()
{
    globalTransform = localTransform.translated(frame.origin());
    if (parent) {
        globalTransform = parent->globalTransform.composed(globalTransform);
    }
}

void View::setFrame()
{
    bounds = localTransform.unmapRectangle(math::Rectangle(0, 0, frame.width, frame.height));
    updateTransform();
    if (!window || !window->isRunning()) {
        resized(math::Point(frame.width, frame.height));
        return;
    }
    SetWindowPos(handle, nullptr, static_cast<int>(frame.x), static_cast<int>(frame.y), static_cast<int>(frame.width),
                 static_cast<int>(frame.height), SWP_NOZORDER | SWP_NOCOPYBITS);
}

bool View::invalidate()
{
    if (!window) {
        return false;
    }
    return InvalidateRect(handle, nullptr, TRUE);
}

LRESULT CALLBACK View::procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        auto* creation = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(handle, 0, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
        return 0;
    }
    auto* view = reinterpret_cast<View*>(GetWindowLongPtrA(handle, 0));
    if (!view) {
        return DefWindowProcA(handle, message, wParam, lParam);
    }
    switch (message) {
    case WM_MOVE:
        view->frame.x = LOWORD(lParam);
        view->frame.y = HIWORD(lParam);
        view->resized(math::Point(view->frame.width, view->frame.height));
        return 0;
    case WM_SIZE:
        view->frame.width = LOWORD(lParam);
        view->frame.height = HIWORD(lParam);
        view->resized(math::Point(view->frame.width, view->frame.height));
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(handle, &paint);
        const RECT& r = paint.rcPaint;
        view->paint(view->context, math::Rectangle(static_cast<float>(r.left), static_cast<float>(r.top),
                                                   static_cast<float>(r.right - r.left + 1),
                                                   static_cast<float>(r.bottom - r.top + 1)));
        EndPaint(handle, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_QUERYNEWPALETTE:
        return 0;
    case WM_PALETTECHANGED:
        if (reinterpret_cast<HWND>(wParam) != handle) {
            return 0;
        }
        break;
    default:
        break;
    }
    LRESULT result;
    if (view->serveInput(handle, message, wParam, lParam, {view, &view->mouseInside, true}, result)) {
        return result;
    }
    return DefWindowProcA(handle, message, wParam, lParam);
}

} // namespace vardel::gui
