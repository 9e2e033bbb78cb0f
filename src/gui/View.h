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

    static constexpr const char* windowClass = "vardel::gui::view::class";

    explicit View(const math::Rectangle& rectangle);
    // A view still in a window leaves it first.
    ~View() override;

    types::String getName() const override;

    // Hooks
    virtual math::Point size();
    virtual bool paint(Context& context, const math::Rectangle& rectangle);
    // Creates the child window in the window's (or parent view's) client area.
    virtual bool open();
    // Destroys the child window; false if there is none.
    virtual bool close();
    virtual bool activated();
    virtual bool deactivated();
    virtual bool resized(math::Point size);
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

    Window* window;
    View* parent;
    Context context;
    math::Rectangle bounds;
    math::Rectangle frame;
    // Flags of gui/Anchors.h; 0 leaves the view where it is.
    std::uint32_t anchors;
    types::String name;
    graphics::Transform<float> localTransform;
    graphics::Transform<float> globalTransform;
    // Read by invalidate() on any thread.
    std::atomic<HWND> handle;
    HDC deviceContext;
    bool mouseInside;
};

} // namespace vardel::gui
