#pragma once

#include <cstdint>

#include "container/Chainable.h"
#include "math/Point.h"
#include "math/Rectangle.h"
#include "object/Object.h"
#include "types/String.h"
#include "graphics/Transform.h"
#include "application/Handler.h"
#include "gui/InputHooks.h"
#include "gui3d/Forward.h"

namespace vardel::gui3d {

// An area of a Root drawn with OpenGL. The root lays it out with the anchor flags of gui::View,
// hit-tests it by its frame and hands it mouse points in its own coordinates.
class View : public application::Handler, public container::Chainable<View>, public gui::InputHooks {
    VARDEL_CLASS_PATH(application::Handler, View)

    // A view of no root with the frame rectangle in its root.
    explicit View(const math::Rectangle& rectangle);

    // Hooks
    // Draws the view over the root's 3D frame; called by the root while the view is visible.
    virtual void draw(Overlay& overlay);
    // The root let the view go.
    virtual bool removed();
    // Keys go elsewhere from now on.
    virtual bool focusLost();
    // The view's bounds took size.
    virtual bool resized(math::Point size);
    // Input hooks: those of gui/InputHooks.h, answering false (consumed nothing) unless
    // overridden; mouseExited answers true.

    // Geometry
    // Applies frame: bounds through the local transform, the global transform, then resized.
    void setFrame();
    // Whether a root point lies in the frame, edges included.
    bool contains(math::Point point) const;
    // A root point in the view's own coordinates.
    math::Point localPoint(math::Point point) const;

    // The root the view is in, or null; not counted.
    Root* root;
    // Where the view lies in its root, in the root's pixels.
    math::Rectangle frame;
    // The view's own area, through its local transform.
    math::Rectangle bounds;
    // Flags of gui/Anchors.h; 0 leaves the view where it is.
    std::uint32_t anchors;
    // Applied to the view's contents before the frame places them.
    graphics::Transform<float> localTransform;
    // From the view's coordinates to the root's.
    graphics::Transform<float> globalTransform;
    // Whether the root offers the view mouse input.
    bool acceptsInput;
    // Whether the root draws the view.
    bool visible;
};

} // namespace vardel::gui3d
