#pragma once

#include <cstdint>

#include "math/Point.h"
#include "system/FrameRate.h"
#include "types/String.h"
#include "freetype/Forward.h"
#include "gui3d/Forward.h"
#include "gui3d/Root.h"
#include "demo/Controls.h"

namespace vardel::demo {

class ClothView;

// The cloth view's root: mouse drags orbit the camera whose matrix the frame draws with. Left
// turns and tilts, middle pans, right dollies. With its font it shows a caption of live figures
// top-left and, bottom-left, "H: help" or the help that the controls make.
class Gui : public gui3d::Root {
    VARDEL_CLASS_PATH(gui3d::Root, Gui)

    // On the window thread. Loads the caption font from the current folder; without a usable one
    // it says so on stderr and carries on with no text.
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

    // Text
    // Shows the help panel, made from the controls as they are now, in place of "H: help" when
    // hidden, and hides it when shown.
    void toggleHelp();
    // Puts the figures of the frame drawn at the time given (seconds) in the caption: the frame
    // rate over the last second, the microseconds its step and cloth update took, the cloth's size.
    void showFrame(double seconds, double workMicroseconds, std::uint32_t weights, std::uint32_t springs,
                   const char* switchesOn);
    // Adds a last line to the caption until the time given (seconds, as showFrame's): what the
    // program just did for the user, such as where a picture went.
    void notify(const char* text, double until);

    // A white label of the root in the corner given.
    gui3d::Label* addLabel(std::uint32_t corner);
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
    system::FrameRate frameRate;
    types::String notice;
    double noticeUntil;
    // Views of the root while there is a font; null without one.
    gui3d::Label* caption;
    gui3d::Label* hint;
    gui3d::Label* help;
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
