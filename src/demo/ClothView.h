#pragma once

#include <atomic>

#include "math/Rectangle.h"
#include "physics/Forward.h"
#include "system/Signal.h"
#include "graphics3d/Forward.h"
#include "gui/OpenGL.h"
#include "demo/ClothControl.h"

namespace vardel::demo {

class Gui;

// The OpenGL view that shows the cloth: it sets up the scene when it opens, draws the lit cloth
// and advances it by one step on every paint, and lets the cloth go when it closes. The scene is
// process-wide, so one ClothView is open at a time.
class ClothView : public gui::OpenGL {
public:
    // Asks for 24 colour, 8 alpha, 8 stencil and 24 depth bits.
    explicit ClothView(const math::Rectangle& frame);

    // On the window thread.
    bool open() override;
    bool close() override;

    // Scene
    bool setUpScene();
    // Draws the cloth as it is, then moves it on by one step of 0.05.
    void draw() override;
    bool tearDownScene();
    // Makes the scene's cloth, pinned at its corners, and hands it to control.
    void buildCloth();
    // The cloth as at the start: pinned, whole and flat, with the switches as they are.
    void resetCloth();
    // Fills the root's table of controls: every key of the demo is bound here.
    void bindControls();
    // Takes hold of the cloth under a point of the view; false when it misses.
    bool grabAt(math::Point point);
    // Pulls what grabAt holds to under the point.
    void dragTo(math::Point point);

    // Moves a weight by its velocity over the time step dt points to.
    static void integrateWeight(physics::Weight<float, 3>* weight, const float* dt);

    graphics3d::Context* drawContext;
    graphics3d::FrameBuffer* drawFrameBuffer;
    graphics3d::ModeStack* drawModes;
    graphics3d::MatrixStack* drawMatrices;
    Gui* root;
    // The switches and the hand; set control.switches before the view opens to start with them.
    ClothControl control;
    // Set once open has run on the window thread, with failed telling whether the view has no
    // OpenGL pixel format and so nothing to show.
    system::Signal opened;
    std::atomic<bool> failed;
};

} // namespace vardel::demo
