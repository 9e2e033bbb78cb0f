#pragma once

#include <atomic>
#include <cstdint>

#include "platform/Win32.h"
#include "container/Chainable.h"
#include "math/Point.h"
#include "math/Rectangle.h"
#include "object/Object.h"
#include "types/String.h"
#include "graphics/Transform.h"
#include "application/Handler.h"
#include "gui/Context.h"
#include "gui/Forward.h"
#include "gui/InputHooks.h"

namespace vardel::gui {

// A rectangular area of a Window backed by a native child window of its own. Its hooks run on the
// window's thread; only invalidate() may be called from other threads.
class View : public application::Handler, public container::Chainable<View>, public InputHooks {
    VARDEL_CLASS_PATH(application::Handler, View)

    // The name of the native window class of views.
    static constexpr const char* windowClass = "vardel::gui::view::class";

    // A closed view with the frame rectangle in its container.
    explicit View(const math::Rectangle& rectangle);
    // A view still in a window leaves it first.
    ~View() override;

    types::String getName() const override;

    // Hooks
    // The view's size: the frame's width and height.
    virtual math::Point size();
    // Draws the part rectangle of the view through context; the base view draws nothing.
    virtual bool paint(Context& context, const math::Rectangle& rectangle);
    // Creates the child window in the window's (or parent view's) client area.
    virtual bool open();
    // Destroys the child window; false if there is none.
    virtual bool close();
    // The window became the active one.
    virtual bool activated();
    // Another window became the active one.
    virtual bool deactivated();
    // The child window took size (pixels).
    virtual bool resized(math::Point size);
    // Keys go elsewhere from now on.
    virtual bool focusLost();
    // Input hooks: those of gui/InputHooks.h, answering true (the wheel false) unless overridden.
    // Recomputes globalTransform from the local transform, the frame and the parent view.
    virtual void updateTransform();

    // Geometry
    // Applies frame: new bounds and transform, then the child window moves (which reports the new
    // size) or, while the window's thread does not run, resized is called at once.
    void setFrame();

    // Painting
    // Asks for a repaint from any thread; false outside a window or while the view is closed.
    bool invalidate();

    // The procedure of the view class; the view is in extra slot 0.
    static LRESULT CALLBACK procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

    // The window the view is in, or null; not counted.
    Window* window;
    // The view the view lies in, or null for a view placed directly in its window.
    View* parent;
    // The child window and its device context while open.
    Context context;
    // The view's own area: at the origin, the frame's size.
    math::Rectangle bounds;
    // Where the view lies in its container.
    math::Rectangle frame;
    // Flags of gui/Anchors.h; 0 leaves the view where it is.
    std::uint32_t anchors;
    // A name for the view; empty by default.
    types::String name;
    // Applied to the view's contents before the frame places them.
    graphics::Transform<float> localTransform;
    // From the view's coordinates to the window's.
    graphics::Transform<float> globalTransform;
    // Read by invalidate() on any thread.
    std::atomic<HWND> handle;
    // The child window's device context while open, or null.
    HDC deviceContext;
    // Whether the pointer is over the view.
    bool mouseInside;
};

} // namespace vardel::gui
