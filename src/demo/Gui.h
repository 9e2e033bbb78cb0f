#pragma once

#include <cstdint>

#include "math/Point.h"
#include "freetype/Forward.h"
#include "gui3d/Root.h"
#include "demo/Controls.h"

namespace vardel::demo {

class ClothView;

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
    // A left press with Ctrl held grabs the cloth under the pointer until the button comes up.
    bool mouseButton(math::Point point, std::uint32_t button) override;
    // Dollies like a right drag: forward moves closer.
    bool mouseWheel(float delta, std::uint32_t buttons) override;
    // Runs the control bound to the key with the modifiers held now.
    bool keyDown(std::uint32_t key) override;

    // Back to the camera of the start.
    void resetCamera();

    // Shows the help panel when hidden and hides it when shown.
    void toggleHelp();

    // Builds viewMatrix from the five camera values.
    void rebuildViewMatrix();

    freetype::Font* font;
    // The view whose cloth Ctrl + left drags pull; none, and they turn the camera as plain drags.
    ClothView* clothView;
    // Whether a drag pulls the cloth rather than the camera.
    bool grabbing;
    // The demo's keys and the help that lists them.
    Controls controls;
    bool helpShown;
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
