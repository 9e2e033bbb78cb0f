#pragma once

#include <atomic>

#include "math/Rectangle.h"
#include "physics/Forward.h"
#include "system/Signal.h"
#include "graphics3d/Forward.h"
#include "gui/OpenGL.h"
#include "demo/ClothControl.h"
#include "demo/Options.h"

namespace vardel::graphics {
class Image;
}

namespace vardel::demo {

class Gui;

// The OpenGL view that shows the cloth: it sets up the scene when it opens, draws the lit cloth
// and advances it by one step on every paint, and lets the cloth go when it closes. The scene is
// process-wide, so one ClothView is open at a time.
class ClothView : public gui::OpenGL {
public:
    // Asks for 24 colour, 8 alpha, 8 stencil and 24 depth bits. The options give the cloth, the
    // camera's start, the frames to draw and where the last one is saved.
    explicit ClothView(const math::Rectangle& frame, const Options& options = Options());
    ~ClothView() override;

    // On the window thread.
    bool open() override;
    bool close() override;

    // Scene
    bool setUpScene();
    // Draws the cloth as it is, then moves it on by one step of the options' time step. Ends the
    // application once the options' number of frames is drawn.
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

    // Pictures
    // Asks for the next frame to be saved under a new name in the working folder; any thread.
    void requestScreenshot();
    // Saves the frame just drawn to path. Returns what to tell the user: where it went, or why it
    // did not (then also written to stderr).
    types::String saveFrame(const char* path);

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
    // OpenGL to show anything with (failure and failureCode say why).
    system::Signal opened;
    std::atomic<bool> failed;

    Options options;
    int framesDrawn;
    std::atomic<bool> screenshotRequested;
    // The last frame drawn, kept while it may become the options' screenshot.
    graphics::Image* lastFrame;
    // Set when the options' screenshot could not be saved.
    std::atomic<bool> screenshotFailed;

private:
    // After a frame is drawn: the pictures asked for, and the end after the options' frames.
    void frameDrawn();
    // True for no fault; otherwise writes it to stderr as one line and returns false.
    static bool report(const types::String& fault);
};

} // namespace vardel::demo
