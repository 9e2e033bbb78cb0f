#pragma once

#include <cstdint>

#include "platform/Win32.h"
#include "container/Chain.h"
#include "math/Point.h"
#include "object/Object.h"
#include "types/String.h"
#include "system/Mutex.h"
#include "application/MessageQueue.h"
#include "application/Messenger.h"
#include "graphics3d/Forward.h"
#include "gui/InputHooks.h"
#include "gui3d/Context.h"
#include "gui3d/View.h"

namespace vardel::gui3d {

// The top of a user interface drawn inside an OpenGL view. It takes over the procedure of the
// rendering context's window, so that size changes and (once input is enabled) keys and mouse
// input reach its hooks before the view; the base hooks hand mouse input to its 3D views.
class Root : public application::Messenger, public gui::InputHooks {
    VARDEL_CLASS_PATH(application::Messenger, Root)

    // On the thread that owns the rendering context's window.
    explicit Root(graphics3d::Context* renderContext);
    // Lets every view go and gives the window its previous procedure back: before the window goes,
    // and with the rendering context current, as the font maps go with it.
    ~Root() override;

    types::String getName() const override;

    // Message delivery: into messages, under messageLock, from any thread.
    bool sendMessage(application::Message* message) override;
    bool postMessage(application::Message* message) override;
    bool runsOwnThread() override;

    // Hooks
    // Lays out the 3D views for the change of size since the last layout.
    virtual bool resized(math::Point newSize);
    // Input hooks (gui/InputHooks.h): keys and characters go to the focus view instead when
    // there is one; the base key hooks answer true, the wheel false.
    // Tracks the view under the mouse and hands it the move; false if no view consumed it.
    bool mouseMoved(math::Point point, std::uint32_t buttons) override;
    // True if a view under the point consumed the button.
    bool mouseButton(math::Point point, std::uint32_t button) override;
    // Offers the entry to the views under the point until one consumes it; true.
    bool mouseEntered(math::Point point, std::uint32_t buttons) override;
    // Tells the view under the mouse that it was left; true.
    bool mouseExited() override;

    // Drawing
    // Draws the visible views in order over the frame drawn so far, in window pixels, with the
    // rendering context current; leaves OpenGL and the context's records as it found them.
    void draw();

    // Until called, key and mouse messages go to the previous procedure untouched.
    void enableInput();

    // Views
    // Appends a view of no root; false otherwise.
    bool addView(View* view);
    // Lets a view of this root go; false for a view of another root.
    bool removeView(View* view);

    // The procedure the root puts in front of the window's own: it serves size changes and input and passes the rest on.
    static LRESULT CALLBACK procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

    // A name for the root; empty by default.
    types::String name;
    // The window's client size as last laid out.
    math::Point size;
    // The size before the last change.
    math::Point previousSize;
    // What the root and its views draw with.
    Context guiContext;
    // The 3D views, in the order they were added.
    container::Chain<View> views;
    // The view that takes the keys, or null.
    View* focusView;
    // The view under the pointer, or null.
    View* hoverView;
    // Whether key and mouse messages reach the hooks.
    bool inputEnabled;
    // Messages handed to the root, served on its window's thread.
    application::MessageQueue messages;
    // Guards messages.
    system::Mutex messageLock;
    // The rendering context's window.
    HWND handle;
    // That window's device context.
    HDC deviceContext;
    // The window's procedure before the root took it over.
    WNDPROC previousProcedure;
    // Whether the pointer is over the window.
    bool mouseInside;

private:
    LRESULT passOn(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT serveInput(UINT message, WPARAM wParam, LPARAM lParam);
};

} // namespace vardel::gui3d
