#include "OrbitRoot.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "gui/Input.h"

using namespace vardel;

namespace {

constexpr float degreesPerPixel = 0.4f;

math::Matrix4 rotation(float degrees, int axis)
{
    const float r = degrees * std::numbers::pi_v<float> / 180.0f;
    const float c = std::cos(r), s = std::sin(r);
    math::Matrix4 m;
    m.setIdentity();
    // The two axes the rotation turns into each other.
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;
    m[4 * a + a] = c;
    m[4 * a + b] = -s;
    m[4 * b + a] = s;
    m[4 * b + b] = c;
    return m;
}

} // namespace

OrbitRoot::OrbitRoot(graphics3d::Context* renderContext) : Root(renderContext) {}

bool OrbitRoot::mouseMoved(math::Point point, std::uint32_t buttons)
{
    const float dx = point.x - lastPoint.x, dy = point.y - lastPoint.y;
    lastPoint = point;
    if (buttons & gui::ButtonState::leftDown) {
        turn += dx * degreesPerPixel;
        tilt = std::clamp(tilt + dy * degreesPerPixel, -90.0f, 90.0f);
        repaint();
    } else if (buttons & gui::ButtonState::rightDown) {
        distance = std::clamp(distance * (1.0f + dy * 0.01f), 1.2f, 20.0f);
        repaint();
    }
    return true;
}

bool OrbitRoot::mouseWheel(float delta, std::uint32_t)
{
    // Forward (a positive delta) comes closer.
    distance = std::clamp(distance * (delta > 0 ? 0.9f : 1.0f / 0.9f), 1.2f, 20.0f);
    repaint();
    return true;
}

math::Matrix4 OrbitRoot::viewMatrix() const
{
    math::Matrix4 away;
    away.setIdentity();
    away[11] = -distance;
    return math::Matrix4::product(away, math::Matrix4::product(rotation(tilt, 0), rotation(turn, 1)));
}

void OrbitRoot::repaint()
{
    InvalidateRect(handle, nullptr, FALSE);
}
