#pragma once

#include "math/Matrix4.h"
#include "gui3d/Root.h"

// The viewer's root view: a left drag turns the model around and tilts it, a right drag or the
// wheel moves the eye closer or away. Each change asks for a repaint; nothing draws otherwise.
class OrbitRoot : public vardel::gui3d::Root {
public:
    explicit OrbitRoot(vardel::graphics3d::Context* renderContext);

    bool mouseMoved(vardel::math::Point point, std::uint32_t buttons) override;
    bool mouseWheel(float delta, std::uint32_t buttons) override;

    // The model-view matrix, row by row: the model (centred and scaled to fit a unit sphere)
    // turned, tilted and set in front of the eye.
    vardel::math::Matrix4 viewMatrix() const;

private:
    void repaint();

    float turn = 30.0f;
    float tilt = 20.0f;
    float distance = 2.4f;
    vardel::math::Point lastPoint{0.0f, 0.0f};
};
