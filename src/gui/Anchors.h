#pragma once

#include <cstdint>

#include "math/Rectangle.h"

namespace vardel::gui {

// Anchor flags of views: left and right together stretch a view with its container, right alone
// moves it with the right edge; the same vertically.
constexpr std::uint32_t anchorLeft = 0x01;
// Keeps the view's right edge at its distance from the container's right edge.
constexpr std::uint32_t anchorRight = 0x02;
// Keeps the view's top edge where it is.
constexpr std::uint32_t anchorTop = 0x10;
// Keeps the view's bottom edge at its distance from the container's bottom edge.
constexpr std::uint32_t anchorBottom = 0x20;

// Moves or stretches frame for a change of its container's size by (dw, dh).
inline void followAnchors(std::uint32_t anchors, math::Rectangle& frame, float dw, float dh)
{
    if ((anchors & anchorLeft) && (anchors & anchorRight)) {
        frame.width += dw;
    } else if (anchors & anchorRight) {
        frame.x += dw;
    }
    if ((anchors & anchorTop) && (anchors & anchorBottom)) {
        frame.height += dh;
    } else if (anchors & anchorBottom) {
        frame.y += dh;
    }
}

} // namespace vardel::gui
