#include <benchmark/benchmark.h>

#include <unistd.h>

#include "platform/OpenGL.h"
#include "system/Signal.h"
#include "gui/Window.h"
#include "demo/ClothView.h"

using vardel::demo::ClothView;

namespace {

// The demo's view at its usual size, telling the benchmark when a frame is on the screen.
class TimedClothView : public ClothView {
public:
    TimedClothView() : ClothView(vardel::math::Rectangle(0, 0, 600, 500)) {}

    void draw() override
    {
        ClothView::draw();
        glFinish();
        drawn.set();
    }

    vardel::system::Signal drawn;
};

// One whole frame as the ticker gets it drawn: the repaint request, the paint on the window's
// thread (clear, cloth update and render, one solver step) and the buffer swap.
void clothFrame(benchmark::State& state)
{
    // The caption font is looked for in the working folder.
    if (chdir(VARDEL_RUN_FOLDER) != 0) {
        state.SkipWithError("no run folder");
        return;
    }
    auto* window = new vardel::gui::Window;
    window->setSize(vardel::math::Point(600, 500));
    auto* view = new TimedClothView;
    window->addView(view);
    if (!window->open()) {
        state.SkipWithError("no window");
        return;
    }
    view->opened.wait();
    for (auto _ : state) {
        view->drawn.reset();
        view->invalidate();
        view->drawn.wait();
    }
    window->close();
    window->release();
    view->release();
}
BENCHMARK(clothFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
