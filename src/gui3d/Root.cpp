#include "gui3d/Root.h"

#include "system/Thread.h"
#include "graphics3d/Context.h"
#include "gui/Anchors.h"
#include "gui/Input.h"

namespace vardel::gui3d {

Root::Root(graphics3d::Context* renderContext)
    : guiContext(renderContext), focusView(nullptr), hoverView(nullptr), inputEnabled(false),
      handle(renderContext->window), deviceContext(renderContext->deviceContext), previousProcedure(nullptr),
      mouseInside(false)
{
    size = math::Point(static_cast<float>(renderContext->frameBuffer.width),
                       static_cast<float>(renderContext->frameBuffer.height));
    previousSize = size;
    thread = system::Thread::current();
    previousProcedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(handle, GWLP_WNDPROC));
    SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    SetWindowLongPtrA(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Root::~Root()
{
    if (focusView) {
        focusView->focusLost();
    }
    focusView = nullptr;
    hoverView = nullptr;
    while (views.count > 0) {
        removeView(views.begin().operator->());
    }
    thread = nullptr;
    if (previousProcedure) {
        SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProcedure));
        SetWindowLongPtrA(handle, GWLP_USERDATA, 0);
        previousProcedure = nullptr;
    }
}

types::String Root::getName() const
{
    return name;
}

bool Root::sendMessage(application::Message* message)
{
    messageLock.lock();
    messages.pushFront(message);
    // The queue's count replaces the caller's.
    message->release();
    messageLock.unlock();
    return true;
}

bool Root::postMessage(application::Message* message)
{
    messageLock.lock();
    messages.pushBack(message);
    message->release();
    messageLock.unlock();
    return true;
}

bool Root::runsOwnThread()
{
    return false;
}

bool Root::resized(math::Point newSize)
{
    float dw = newSize.x - previousSize.x;
    float dh = newSize.y - previousSize.y;
    if (dw != 0 || dh != 0) {
        for (View& view : views) {
            if (view.anchors) {
                gui::followAnchors(view.anchors, view.frame, dw, dh);
                view.setFrame();
            }
        }
    }
    previousSize = newSize;
    return true;
}

bool Root::keyDown(std::uint32_t)
{
    return true;
}

bool Root::keyUp(std::uint32_t)
{
    return true;
}

bool Root::character(std::uint32_t, std::uint32_t)
{
    return true;
}

bool Root::mouseMoved(math::Point point, std::uint32_t buttons)
{
    for (View& view : views) {
        if (!view.acceptsInput || !view.contains(point)) {
            continue;
        }
        if (&view != hoverView) {
            if (hoverView) {
                hoverView->mouseExited();
            }
            hoverView = &view;
            view.mouseEntered(point, buttons);
        }
        if (view.mouseMoved(view.localPoint(point), buttons)) {
            return true;
        }
    }
    if (hoverView) {
        hoverView->mouseExited();
        hoverView = nullptr;
    }
    return false;
}

bool Root::mouseButton(math::Point point, std::uint32_t button)
{
    for (View& view : views) {
        if (view.acceptsInput && view.contains(point) && view.mouseButton(view.localPoint(point), button)) {
            return true;
        }
    }
    return false;
}

bool Root::mouseWheel(float, std::uint32_t)
{
    return false;
}

bool Root::mouseEntered(math::Point point, std::uint32_t buttons)
{
    for (View& view : views) {
        if (view.acceptsInput && view.contains(point) && view.mouseEntered(view.localPoint(point), buttons)) {
            break;
        }
    }
    return true;
}

bool Root::mouseExited()
{
    if (hoverView) {
        hoverView->mouseExited();
        hoverView = nullptr;
    }
    return true;
}

void Root::enableInput()
{
    mouseInside = false;
    inputEnabled = true;
}

bool Root::addView(View* view)
{
    if (view->root) {
        return false;
    }
    views.append(view);
    addHandler(view);
    view->root = this;
    return true;
}

bool Root::removeView(View* view)
{
    if (view->root != this) {
        return false;
    }
    // The last of the two holds let go below may destroy the view.
    view->retain();
    if (focusView == view) {
        view->focusLost();
        focusView = nullptr;
    }
    if (hoverView == view) {
        hoverView = nullptr;
    }
    view->removed();
    view->root = nullptr;
    views.remove(view);
    removeHandler(view);
    view->release();
    return true;
}

LRESULT Root::passOn(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!previousProcedure) {
        return DefWindowProcA(handle, message, wParam, lParam);
    }
    return CallWindowProcA(previousProcedure, handle, message, wParam, lParam);
}

LRESULT Root::serveInput(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN: {
        if (lParam & (1 << 30)) {
            return 0;
        }
        auto key = static_cast<std::uint32_t>(wParam);
        focusView ? focusView->keyDown(key) : keyDown(key);
        return 0;
    }
    case WM_KEYUP: {
        auto key = static_cast<std::uint32_t>(wParam);
        focusView ? focusView->keyUp(key) : keyUp(key);
        return 0;
    }
    case WM_CHAR: {
        auto code = static_cast<std::uint32_t>(wParam);
        std::uint32_t modifiers = gui::KeyModifiers::current();
        focusView ? focusView->character(code, modifiers) : character(code, modifiers);
        return 0;
    }
    case WM_MOUSEMOVE: {
        math::Point point = gui::pointOf(lParam);
        std::uint32_t buttons = gui::ButtonState::fromKeys(wParam);
        if (!mouseInside) {
            mouseInside = true;
            mouseEntered(point, buttons);
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, handle, 0};
            _TrackMouseEvent(&track);
        }
        mouseMoved(point, buttons);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        mouseButton(gui::pointOf(lParam), gui::ButtonState::ofButton(message));
        return 0;
    case WM_MOUSEWHEEL:
        return mouseWheel(gui::wheelDeltaOf(wParam), gui::ButtonState::fromKeys(wParam)) ? 1 : 0;
    case WM_MOUSELEAVE:
        mouseInside = false;
        mouseExited();
        return 0;
    default:
        return passOn(message, wParam, lParam);
    }
}

LRESULT CALLBACK Root::procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* root = reinterpret_cast<Root*>(GetWindowLongPtrA(handle, GWLP_USERDATA));
    if (!root) {
        return DefWindowProcA(handle, message, wParam, lParam);
    }
    switch (message) {
    case WM_DESTROY:
        return 0;
    case WM_SIZE: {
        RECT client;
        GetClientRect(handle, &client);
        root->size = math::Point(static_cast<float>(client.right - client.left),
                                 static_cast<float>(client.bottom - client.top));
        root->resized(root->size);
        return root->passOn(message, wParam, lParam);
    }
    default:
        return root->inputEnabled ? root->serveInput(message, wParam, lParam)
                                  : root->passOn(message, wParam, lParam);
    }
}

} // namespace vardel::gui3d
