#include "demo/ClothView.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>

#include "object/Release.h"
#include "system/System.h"
#include "application/Application.h"
#include "graphics/Image.h"
#include "graphics/PngWriter.h"
#include "physics/Relaxator.h"
#include "physics/Weight.h"
#include "graphics3d/Camera.h"
#include "graphics3d/Context.h"
#include "graphics3d/FrameBuffer.h"
#include "graphics3d/Mode.h"
#include "graphics3d/ParameterBuffer.h"
#include "graphics3d/PointLight.h"
#include "graphics3d/SpringModel.h"
#include "gui/Window.h"
#include "demo/Gui.h"
#include "demo/Scene.h"

namespace vardel::demo {

Scene scene;

namespace {

// The first vardel-N.png of the working folder that no file has taken yet.
std::string freshScreenshotName()
{
    for (unsigned n = 1;; ++n) {
        std::string name = "vardel-" + std::to_string(n) + ".png";
        // A folder that cannot be looked into cannot be written either: the write will say so.
        std::error_code error;
        if (!std::filesystem::exists(name, error)) {
            return name;
        }
    }
}

using Clock = std::chrono::steady_clock;

double secondsOf(Clock::time_point time)
{
    return std::chrono::duration<double>(time.time_since_epoch()).count();
}

double microsecondsBetween(Clock::time_point start, Clock::time_point end)
{
    return std::chrono::duration<double, std::micro>(end - start).count();
}

} // namespace

ClothView::ClothView(const math::Rectangle& frame, const Options& options)
    : OpenGL(frame), drawContext(nullptr), drawFrameBuffer(nullptr), drawModes(nullptr), drawMatrices(nullptr),
      root(nullptr), failed(false), options(options), framesDrawn(0), screenshotRequested(false), lastFrame(nullptr),
      screenshotFailed(false)
{
    colourBits = 24;
    alphaBits = 8;
    stencilBits = 8;
    depthBits = 24;
}

ClothView::~ClothView()
{
    object::releaseAndClear(lastFrame);
}

bool ClothView::open()
{
    if (!OpenGL::open()) {
        failed = true;
        opened.set();
        return false;
    }
    drawContext = graphics3d::Context::get();
    drawFrameBuffer = &drawContext->frameBuffer;
    drawModes = &drawContext->modes;
    drawMatrices = &drawContext->matrices;

    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glClearColor(0, 0, 0, 0);
    glViewport(static_cast<GLint>(frame.x),
               drawFrameBuffer->height - static_cast<GLint>(frame.y) - static_cast<GLint>(frame.height),
               static_cast<GLsizei>(frame.width), static_cast<GLsizei>(frame.height));

    root = new Gui(drawContext);
    root->inputEnabled = true;
    root->mouseInside = false;
    root->clothView = this;
    root->turn = options.turn;
    root->tilt = options.tilt;
    root->rebuildViewMatrix();
    bindControls();
    bool result = setUpScene();
    opened.set();
    return result;
}

bool ClothView::close()
{
    if (!options.screenshot.empty()) {
        const char* path = options.screenshot.c_str();
        screenshotFailed = lastFrame ? !report(graphics::PngWriter::write(*lastFrame, path))
                                     : !report(types::String("cannot save ") + path + ": no frame was drawn");
        object::releaseAndClear(lastFrame);
    }
    tearDownScene();
    object::releaseAndClear(root);
    return OpenGL::close();
}

bool ClothView::setUpScene()
{
    scene.camera = new graphics3d::Camera;
    scene.camera->zNear = 10.0f;
    scene.camera->zFar = 1600.0f;
    scene.camera->apply();

    scene.mode = new graphics3d::Mode;
    scene.mode->depthFunction = GL_LESS;
    scene.mode->depthWrite = true;

    scene.light = new graphics3d::PointLight;
    scene.light->setPosition(900.0f, 790.0f, 400.0f);
    scene.light->setAmbient(0.2f, 0.2f, 0.2f, 0.0f);
    scene.light->setDiffuse(1.0f, 1.0f, 1.0f, 0.0f);
    scene.light->setSpecular(0.3f, 0.3f, 0.3f, 0.0f);

    buildCloth();
    return true;
}

void ClothView::buildCloth()
{
    unsigned columns = options.clothColumns;
    unsigned rows = options.clothRows;
    scene.cloth = graphics3d::SpringModel::createCloth(columns, rows);
    if (!scene.cloth) {
        return;
    }
    physics::Relaxator<float, 3>* solver = scene.cloth->relaxator;
    const unsigned corners[4] = {0u, columns - 1, columns * (rows - 1), columns * rows - 1};
    for (int i = 0; i < 4; ++i) {
        scene.clothCorners[i] = corners[i];
        solver->weights[corners[i]].pinned = true;
    }
    scene.clothSolver = solver;
    solver->gravity = math::Vector3<float>(0.0f, 0.0f, -9.8f);
    solver->uniformStiffness = options.stiffness;
    solver->damping = options.damping;
    // Nothing in the demo reads a spring's length or force, so the solver steps over its packed
    // copy of the springs.
    solver->recordsSprings = false;

    scene.clothParameters = graphics3d::ParameterBuffer::create(scene.cloth->parameterFormat);
    control.takeCloth();
}

void ClothView::resetCloth()
{
    control.dropCloth();
    // The parameter buffer's format belongs to the cloth, so the buffer goes first.
    object::releaseAndClear(scene.clothParameters);
    object::releaseAndClear(scene.cloth);
    scene.clothSolver = nullptr;
    buildCloth();
    InvalidateRect(handle, nullptr, TRUE);
}

void ClothView::draw()
{
    graphics3d::Context* context = graphics3d::Context::current();
    if (!context || !scene.cloth || !scene.clothParameters) {
        return;
    }
    context->modes.set(scene.mode);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    drawMatrices->setMode(GL_MODELVIEW);
    glLoadIdentity();
    // Set right after the identity, so that the light's position is taken in eye coordinates.
    context->lights.set(0, scene.light);
    glEnable(GL_LIGHTING);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
    // Both faces of the cloth show.
    glDisable(GL_CULL_FACE);

    std::memcpy(scene.clothParameters->data(), root->viewMatrix, sizeof root->viewMatrix);
    Clock::time_point start = Clock::now();
    scene.cloth->update();
    Clock::time_point updated = Clock::now();
    scene.cloth->render(*scene.clothParameters);
    control.drawBall();
    frameDrawn();
    Clock::time_point stepStart = Clock::now();
    control.advance(integrateWeight, options.timeStep);
    Clock::time_point end = Clock::now();
    // Tearing takes springs away as the cloth goes.
    physics::Relaxator<float, 3>* solver = scene.cloth->relaxator;
    root->showFrame(secondsOf(end), microsecondsBetween(start, updated) + microsecondsBetween(stepStart, end),
                    solver ? solver->weights.count : 0, solver ? solver->springs.count : 0,
                    control.switchesOn().chars());
    // After the picture frameDrawn takes, which shows the cloth alone.
    root->draw();
}

bool ClothView::tearDownScene()
{
    control.dropCloth();
    // The parameter buffer's format belongs to the cloth, so the buffer goes first. The mode and
    // the light leave the context's records as they go.
    object::releaseAndClear(scene.clothParameters);
    object::releaseAndClear(scene.cloth);
    scene.clothSolver = nullptr;
    object::releaseAndClear(scene.light);
    object::releaseAndClear(scene.mode);
    object::releaseAndClear(scene.camera);
    return true;
}

void ClothView::bindControls()
{
    Controls& controls = root->controls;
    controls.describe("Left drag", "turn and tilt the camera");
    controls.describe("Middle drag", "pan the camera");
    controls.describe("Right drag", "move the camera closer or away");
    controls.describe("Ctrl + left drag", "grab the cloth and pull it");
    controls.describe("Wheel", "move the camera closer (forward) or away");
    controls.bind({{'H'}, {VK_F1}}, "show or hide this help", [this] { root->toggleHelp(); });
    controls.bind({{VK_SPACE}}, "pause or go on", [this] { control.setPaused(!control.switches.paused); });
    controls.bind({{'N'}, {VK_RIGHT}}, "one step while paused", [this] { control.stepOnce(); });
    controls.bind({{'R'}}, "reset the cloth", [this] { resetCloth(); });
    controls.bind({{'C'}}, "reset the camera", [this] { root->resetCamera(); });
    controls.bind({{'P'}}, "let the corners go or pin them where they are",
                  [this] { control.setPinned(!control.switches.pinned); });
    controls.bind({{'W'}}, "wind on or off", [this] { control.setWind(!control.switches.wind); });
    controls.bind({{'B'}}, "the ball under the cloth on or off", [this] { control.setBall(!control.switches.ball); });
    controls.bind({{'T'}}, "tearing on or off", [this] { control.setTearing(!control.switches.tearing); });
    controls.bind({{VK_ESCAPE}}, "close the window", [this] {
        if (window) {
            window->closeRequested();
        }
    });
    controls.bind({{'S'}, {VK_F12}}, "save the picture as vardel-N.png in the working folder",
                  [this] { requestScreenshot(); });
}

bool ClothView::grabAt(math::Point point)
{
    return scene.camera && control.grabAt(*scene.camera, root->viewMatrix, root->size, point);
}

void ClothView::dragTo(math::Point point)
{
    if (scene.camera) {
        control.dragTo(*scene.camera, root->viewMatrix, root->size, point);
    }
}

void ClothView::requestScreenshot()
{
    screenshotRequested = true;
    invalidate();
}

types::String ClothView::saveFrame(const char* path)
{
    graphics::Image* image = drawFrameBuffer->capture();
    types::String fault = image ? graphics::PngWriter::write(*image, path)
                                : types::String("cannot save ") + path + ": the view has no pixels to read";
    object::releaseAndClear(image);
    return report(fault) ? types::String("saved ") + path : fault;
}

bool ClothView::report(const types::String& fault)
{
    if (!fault.length) {
        return true;
    }
    types::String line = "vardel-cloth: " + fault + "\n";
    system::System::standardError().write(line.chars(), static_cast<int>(line.length));
    return false;
}

void ClothView::frameDrawn()
{
    ++framesDrawn;
    if (screenshotRequested.exchange(false)) {
        // Long enough to read after looking back from wherever the key was.
        constexpr double noticeSeconds = 5.0;
        root->notify(saveFrame(freshScreenshotName().c_str()).chars(), secondsOf(Clock::now()) + noticeSeconds);
    }
    bool counting = options.frames > 0;
    if (!options.screenshot.empty() && (!counting || framesDrawn <= options.frames)) {
        object::releaseAndClear(lastFrame);
        lastFrame = drawFrameBuffer->capture();
    }
    if (counting && framesDrawn == options.frames) {
        application::Application::quit();
    }
}

void ClothView::integrateWeight(physics::Weight<float, 3>* weight, const float* dt)
{
    weight->position.x += weight->velocity.x * *dt;
    weight->position.y += weight->velocity.y * *dt;
    weight->position.z += weight->velocity.z * *dt;
}

} // namespace vardel::demo
