#include "gui3d/Root.h"

#include "system/Thread.h"
#include "graphics3d/Context.h"
#include "gui/Anchors.h"
#include "gui3d/Overlay.h"

namespace vardel::gui3d {

Root::Root(graphics3d::Context* renderContext)
    : InputHooks(true), guiContext(renderContext), focusView(nullptr), hoverView(nullptr), inputEnabled(false),
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

void Root::draw()
{
    bool anyVisible = false;
    for (View& view : views) {
        anyVisible = anyVisible || view.visible;
    }
    // Nothing to draw costs nothing.
    if (!anyVisible) {
        return;
    }
    Overlay overlay(*guiContext.renderContext);
    for (View& view : views) {
        if (view.visible) {
            view.draw(overlay);
        }
    }
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
    InputHooks* keyTarget = focusView ? static_cast<InputHooks*>(focusView) : this;
    LRESULT result;
    if (InputHooks::serveInput(handle, message, wParam, lParam, {keyTarget, &mouseInside, false}, result)) {
        return result;
    }
    return passOn(message, wParam, lParam);
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
