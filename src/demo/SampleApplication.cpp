#include "demo/SampleApplication.h"

#include <string>

#include "object/Release.h"
#include "system/System.h"
#include "gui/Anchors.h"
#include "demo/ClothView.h"
#include "demo/MainWindow.h"
#include "demo/OpenGLTicker.h"

namespace vardel::demo {

namespace {

constexpr std::int32_t repaintPeriod = 20;

// Why something could not be made, from the system's error code.
types::String reason(DWORD error)
{
    switch (error) {
    case ERROR_NOT_READY:
        return "no display answers";
    case ERROR_ACCESS_DENIED:
        return "the display refused the connection";
    case ERROR_TOO_MANY_OPEN_FILES:
        return "too many open files";
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return "out of memory";
    case ERROR_INVALID_PIXEL_FORMAT:
        return "the display offers none that fits";
    case ERROR_NOT_SUPPORTED:
        return "the display refused to make one";
    default:
        return types::String("system error ") + std::to_string(error).c_str();
    }
}

// The one line that says why the window could not be opened.
types::String windowFailure(DWORD error)
{
    types::String line = "vardel-cloth: cannot open the window: ";
    if (error == ERROR_ACCESS_DENIED) {
        return line + reason(error) + "\n";
    }
    if (error == ERROR_TOO_MANY_OPEN_FILES || error == ERROR_NOT_ENOUGH_MEMORY || error == ERROR_OUTOFMEMORY) {
        return line + "no display connection (" + reason(error) + ")\n";
    }
    return line + "no display answers\n";
}

// The one line that says what the OpenGL view could not make, and why.
types::String viewFailure(gui::OpenGL::Failure failure, DWORD error)
{
    if (failure == gui::OpenGL::Failure::pixelFormat && error == ERROR_INVALID_PIXEL_FORMAT) {
        return "vardel-cloth: cannot draw the cloth: the display offers no OpenGL pixel format\n";
    }
    const char* missing = failure == gui::OpenGL::Failure::pixelFormat ? "no OpenGL pixel format"
                          : failure == gui::OpenGL::Failure::context   ? "no OpenGL context"
                                                                       : "no window for the OpenGL view";
    return types::String("vardel-cloth: cannot open the window: ") + missing + " (" + reason(error) + ")\n";
}

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
        return fail(windowFailure(window->openError));
    }
    // Nothing would ever show without OpenGL, so wait for the view to open before going on.
    view->opened.wait();
    if (view->failed) {
        window->close();
        return fail(viewFailure(view->failure, view->failureCode));
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

bool SampleApplication::fail(const types::String& line)
{
    system::System::standardError().write(line.chars(), static_cast<int>(line.length));
    object::releaseAndClear(window);
    object::releaseAndClear(view);
    return false;
}

} // namespace vardel::demo
