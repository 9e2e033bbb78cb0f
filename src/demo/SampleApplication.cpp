#include "demo/SampleApplication.h"

#include <cstring>

#include "object/Release.h"
#include "system/System.h"
#include "gui/Anchors.h"
#include "demo/ClothView.h"
#include "demo/MainWindow.h"
#include "demo/OpenGLTicker.h"

namespace vardel::demo {

namespace {

constexpr std::int32_t repaintPeriod = 20;

} // namespace

SampleApplication::SampleApplication(const Options& options)
    : window(nullptr), view(nullptr), ticker(nullptr), options(options), screenshotFailed(false)
{
}

bool SampleApplication::ready()
{
    auto width = static_cast<float>(options.windowWidth);
    auto height = static_cast<float>(options.windowHeight);
    window = new MainWindow(math::Point(width, height));
    view = new ClothView(math::Rectangle(0.0f, 0.0f, width, height), options);
    view->anchors = gui::anchorLeft | gui::anchorRight | gui::anchorTop | gui::anchorBottom;
    ClothControl::Switches& switches = view->control.switches;
    switches.paused = options.paused;
    switches.wind = options.wind;
    switches.ball = options.ball;
    switches.tearing = options.tear;
    switches.seed = options.seed;
    window->addView(view);
    if (!window->open()) {
        return fail("vardel-cloth: cannot open the window: no display answers\n");
    }
    // Nothing would ever show without OpenGL, so wait for the view to open before going on.
    view->opened.wait();
    if (view->failed) {
        window->close();
        return fail("vardel-cloth: cannot draw the cloth: the display offers no OpenGL pixel format\n");
    }
    ticker = new OpenGLTicker(view);
    ticker->setPeriod(repaintPeriod);
    ticker->start();
    return true;
}

bool SampleApplication::quitting()
{
    ticker->stop();
    window->close();
    screenshotFailed = view->screenshotFailed;
    object::releaseAndClear(ticker);
    object::releaseAndClear(window);
    object::releaseAndClear(view);
    return true;
}

bool SampleApplication::fail(const char* line)
{
    system::System::standardError().write(line, static_cast<int>(std::strlen(line)));
    object::releaseAndClear(window);
    object::releaseAndClear(view);
    return false;
}

} // namespace vardel::demo
