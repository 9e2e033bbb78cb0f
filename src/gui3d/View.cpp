#include "gui3d/View.h"

namespace vardel::gui3d {

View::View(const math::Rectangle& rectangle)
    : InputHooks(false), root(nullptr), frame(rectangle), bounds(0, 0, rectangle.width, rectangle.height), anchors(0),
      acceptsInput(true), visible(true)
{
    globalTransform = localTransform.translated(frame.origin());
}

void View::draw(Overlay&) {}

bool View::removed()
{
    return true;
}

bool View::focusLost()
{
    return true;
}

bool View::resized(math::Point)
{
    return true;
}

void View::setFrame()
{
    bounds = localTransform.unmapRectangle(math::Rectangle(0, 0, frame.width, frame.height));
    globalTransform = localTransform.translated(frame.origin());
    resized(math::Point(frame.width, frame.height));
}

bool View::contains(math::Point point) const
{
    return frame.x <= point.x && point.x <= frame.x + frame.width && frame.y <= point.y &&
           point.y <= frame.y + frame.height;
}

math::Point View::localPoint(math::Point point) const
{
    math::Rectangle local =
        localTransform.unmapRectangle(math::Rectangle(point.x - frame.x, point.y - frame.y, 0, 0));
    return local.origin();
}

} // namespace vardel::gui3d
