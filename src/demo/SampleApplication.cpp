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

SampleApplication::SampleApplication() : window(nullptr), view(nullptr), ticker(nullptr) {}

bool SampleApplication::ready()
{
    window = new MainWindow;
    view = new ClothView(math::Rectangle(0.0f, 0.0f, 600.0f, 500.0f));
    view->anchors = gui::anchorLeft | gui::anchorRight | gui::anchorTop | gui::anchorBottom;
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
