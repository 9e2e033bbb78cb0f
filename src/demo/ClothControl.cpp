#include "demo/ClothControl.h"

#include "object/Release.h"
#include "physics/Relaxator.h"
#include "graphics3d/ColourMaterial.h"
#include "graphics3d/Ray.h"
#include "graphics3d/SpringModel.h"
#include "demo/Scene.h"

namespace vardel::demo {

namespace {

using Vector = math::Vector3<float>;

// Under the middle of the cloth, just below where the pinned cloth sags to (about z = -310), so
// that a released cloth falls onto it and drapes.
const Vector ballCentre(-5.0f, -5.0f, -480.0f);
constexpr float ballRadius = 150.0f;
// Drawn a little inside the obstacle, so that the cloth lying on it never dips into the picture
// of the ball between its weights.
constexpr float ballDrawnRadius = 147.0f;

// Blows mostly towards the camera and a little across, so that the pinned cloth billows.
const Vector windDirection(0.3f, 0.2f, 0.93f);
constexpr float windSpeed = 40.0f;
constexpr float windStrength = 0.003f;
// The hanging cloth stretches the springs at its pins to nearly five times their rest length under
// its own weight, and to almost eight as it first drops: at a lower ratio it would tear off its
// corners as soon as tearing is on, rather than where a hand pulls it.
constexpr float tearRatio = 10.0f;

bool ray(const graphics3d::Camera& camera, const float* view, math::Point size, math::Point point,
         graphics3d::Ray& out)
{
    math::Matrix4 modelView;
    for (int i = 0; i < 16; ++i)
        modelView[i] = view[i];
    return graphics3d::Ray::throughPoint(camera, modelView, size, point, out);
}

} // namespace

ClothControl::ClothControl()
    : ball(ballCentre, ballRadius), ballModel(nullptr), stepPending(false), planePoint(0, 0, 0), planeNormal(0, 0, 1),
      grabOffset(0, 0, 0)
{
    wind.direction = windDirection;
    wind.direction.normalise();
    wind.speed = windSpeed;
    wind.strength = windStrength;
    wind.gustiness = 0.6f;
    wind.gustPeriod = 2.0f;
    breaker.ratio = tearRatio;
}

ClothControl::~ClothControl()
{
    object::releaseAndClear(ballModel);
}

void ClothControl::takeCloth()
{
    if (!scene.clothSolver)
        return;
    wind.seed = switches.seed;
    wind.time = 0.0f;
    wind.triangles = &scene.cloth->indices;
    switches.pinned = true;
    bind(&wind, switches.wind);
    bind(&ball, switches.ball);
    bind(&breaker, switches.tearing);
}

void ClothControl::dropCloth()
{
    grab.forget();
    if (scene.clothSolver) {
        physics::Effect* const effects[] = {&grab, &wind, &ball, &breaker};
        for (physics::Effect* effect : effects)
            scene.clothSolver->detach(effect);
    }
    wind.triangles = nullptr;
    breaker.brokenEnds.resize(0);
    // Its buffers belong to the rendering context, current here and gone by the time this goes.
    object::releaseAndClear(ballModel);
}

void ClothControl::drawBall()
{
    if (!switches.ball || !scene.clothParameters)
        return;
    if (!ballModel) {
        ballModel = graphics3d::SpringModel::createBall(ballCentre, ballDrawnRadius, 24, 48);
        if (!ballModel)
            return;
        ballModel->material.setAmbient(0.1f, 0.1f, 0.15f, 0.0f);
        ballModel->material.setDiffuse(0.3f, 0.5f, 0.9f, 0.0f);
        ballModel->material.setSpecular(0.5f, 0.5f, 0.5f, 0.0f);
        ballModel->update();
    }
    ballModel->render(*scene.clothParameters);
}

void ClothControl::advance(void (*integrate)(physics::Weight<float, 3>*, const float*), float dt)
{
    if (!scene.clothSolver || (switches.paused && !stepPending))
        return;
    stepPending = false;
    scene.clothSolver->step(integrate, dt);
    if (breaker.brokenEnds.count) {
        scene.cloth->removeTrianglesAlong(breaker.brokenEnds.elements, breaker.brokenEnds.count / 2);
        breaker.brokenEnds.resize(0);
    }
}

void ClothControl::setPaused(bool paused)
{
    switches.paused = paused;
    stepPending = false;
}

void ClothControl::stepOnce()
{
    stepPending = switches.paused;
}

void ClothControl::setWind(bool on)
{
    switches.wind = on;
    bind(&wind, on);
}

void ClothControl::setBall(bool on)
{
    switches.ball = on;
    bind(&ball, on);
}

void ClothControl::setTearing(bool on)
{
    switches.tearing = on;
    bind(&breaker, on);
}

void ClothControl::setPinned(bool pinned)
{
    switches.pinned = pinned;
    if (!scene.clothSolver)
        return;
    for (unsigned corner : scene.clothCorners) {
        // A held corner is the hand's until it lets go.
        if (!(grab.holding && grab.index == corner))
            scene.clothSolver->setPinned(corner, pinned);
    }
}

bool ClothControl::grabAt(const graphics3d::Camera& camera, const float* view, math::Point size, math::Point point)
{
    graphics3d::Ray through;
    if (!scene.cloth || !scene.clothSolver || !ray(camera, view, size, point, through))
        return false;
    Vector hit;
    int weight = scene.cloth->pick(through, hit);
    if (weight < 0)
        return false;
    // The plane faces the camera: its normal runs along the ray through the middle of the view.
    graphics3d::Ray middle;
    if (!ray(camera, view, size, math::Point(size.x * 0.5f, size.y * 0.5f), middle))
        return false;
    planePoint = hit;
    planeNormal = middle.direction;
    grabOffset = Vector::difference(scene.clothSolver->weights[static_cast<unsigned>(weight)].position, hit);
    grab.hold(*scene.clothSolver, static_cast<unsigned>(weight));
    bind(&grab, true);
    return true;
}

void ClothControl::dragTo(const graphics3d::Camera& camera, const float* view, math::Point size, math::Point point)
{
    graphics3d::Ray through;
    float distance = 0.0f;
    if (!grab.holding || !ray(camera, view, size, point, through) ||
        !through.meetsPlane(planePoint, planeNormal, distance))
        return;
    Vector target = through.at(distance);
    target.add(grabOffset);
    grab.moveTo(target);
}

void ClothControl::letGo()
{
    if (!grab.holding || !scene.clothSolver)
        return;
    grab.release(*scene.clothSolver);
    bind(&grab, false);
}

bool ClothControl::grabbing() const
{
    return grab.holding;
}

types::String ClothControl::switchesOn() const
{
    const struct {
        bool on;
        const char* name;
    } named[] = {{switches.paused, "paused"},
                 {switches.wind, "wind"},
                 {switches.ball, "ball"},
                 {switches.tearing, "tearing"},
                 {switches.pinned, "pins"}};
    types::String text;
    for (const auto& entry : named) {
        if (entry.on) {
            if (text.length) {
                text += ", ";
            }
            text += entry.name;
        }
    }
    return text.length ? text : types::String("none");
}

void ClothControl::bind(physics::Effect* effect, bool on)
{
    if (!scene.clothSolver)
        return;
    scene.clothSolver->detach(effect);
    if (on)
        scene.clothSolver->attach(effect);
}

} // namespace vardel::demo
