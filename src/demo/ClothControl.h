#pragma once

#include <cstdint>

#include "math/Point.h"
#include "math/Vector3.h"
#include "physics/Grab.h"
#include "physics/SphereObstacle.h"
#include "physics/SpringBreaker.h"
#include "physics/Wind.h"
#include "types/String.h"
#include "graphics3d/Forward.h"

namespace vardel::demo {

// A person's hold on the scene's cloth: the switches (pause, wind, ball, tearing, pins), the single
// step and the grab under the pointer, each binding a physics effect to the cloth or taking it off.
// With every switch at its start value the cloth steps exactly as it would without this. On the
// window thread, like the scene.
class ClothControl {
public:
    // What the scene starts with; set before the view opens.
    struct Switches {
        bool paused = false;
        bool wind = false;
        bool ball = false;
        bool tearing = false;
        // The four corners.
        bool pinned = true;
        // Of the wind's gusts.
        std::uint64_t seed = 1;
    };

    ClothControl();
    ~ClothControl();
    ClothControl(const ClothControl&) = delete;
    ClothControl& operator=(const ClothControl&) = delete;

    // Scene
    // Binds the switched-on effects to the scene's new cloth, which starts pinned.
    void takeCloth();
    // Unbinds every effect and lets go of the cloth and the ball's picture, before the cloth goes;
    // on the window thread with the rendering context current.
    void dropCloth();
    // Draws the ball while it is on, with the cloth's parameters.
    void drawBall();
    // Steps the cloth unless paused (once, after stepOnce), then takes torn triangles out of it.
    void advance(void (*integrate)(physics::Weight<float, 3>*, const float*), float dt);

    // Switches
    void setPaused(bool paused);
    // While paused, the next frame steps once.
    void stepOnce();
    void setWind(bool on);
    void setBall(bool on);
    void setTearing(bool on);
    void setPinned(bool pinned);

    // Pointer
    // Takes hold of the weight under a point of the view, as drawn by camera and view (row by row)
    // in a viewport of size; false when the point misses the cloth.
    bool grabAt(const graphics3d::Camera& camera, const float* view, math::Point size, math::Point point);
    // Pulls the held weight to where the point's ray meets the plane facing the camera through the
    // point first grabbed.
    void dragTo(const graphics3d::Camera& camera, const float* view, math::Point size, math::Point point);
    void letGo();
    bool grabbing() const;

    // The switches that are on, for the caption: "paused, wind, ball, tearing, pins", any of them,
    // or "none".
    types::String switchesOn() const;

    Switches switches;
    physics::Grab grab;
    physics::Wind wind;
    physics::SphereObstacle ball;
    physics::SpringBreaker breaker;

private:
    void bind(physics::Effect* effect, bool on);

    // Drawn while the ball is on; made on first use after takeCloth.
    graphics3d::SpringModel* ballModel;
    bool stepPending;
    // The plane the grabbed weight moves in, and how far the weight lay from the point grabbed.
    math::Vector3<float> planePoint;
    math::Vector3<float> planeNormal;
    math::Vector3<float> grabOffset;
};

} // namespace vardel::demo
