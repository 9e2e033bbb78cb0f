#pragma once

#include <cstdint>

#include "math/Point.h"
#include "gui3d/Root.h"

namespace vardel::freetype {
class Font;
}

namespace vardel::demo {

// The cloth view's root: mouse drags orbit the camera whose matrix the frame draws with. Left
// turns and tilts, middle pans, right dollies.
class Gui : public gui3d::Root {
    VARDEL_CLASS_PATH(gui3d::Root, Gui)

    // On the window thread. Loads the caption font from the current folder; without a usable one
    // it says so on stderr and carries on with none.
    explicit Gui(graphics3d::Context* renderContext);
    ~Gui() override;

    // Steers the camera unless a 3D view takes the move; asks for a repaint while a button is held.
    bool mouseMoved(math::Point point, std::uint32_t buttons) override;

    // Builds viewMatrix from the five camera values.
    void rebuildViewMatrix();

    freetype::Font* font;
    float panX;
    float panY;
    float dolly;
    // Degrees, within one turn of zero after each move.
    float tilt;
    float turn;
    math::Point lastPoint;
    math::Point previousPoint;
    // Row by row, translation in elements 3, 7 and 11.
    float viewMatrix[16];
};

} // namespace vardel::demo
