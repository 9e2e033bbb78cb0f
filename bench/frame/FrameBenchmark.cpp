#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

#include "platform/OpenGL.h"
#include "system/Signal.h"
#include "physics/Relaxator.h"
#include "graphics3d/SpringModel.h"
#include "gui/Window.h"
#include "demo/ClothView.h"
#include "demo/OpenGLTicker.h"
#include "demo/Scene.h"

using vardel::demo::ClothView;
using vardel::demo::scene;
using Clock = std::chrono::steady_clock;

namespace {

double microsecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The demo's view at its usual size, timing each frame and telling the benchmark when one is done.
class TimedClothView : public ClothView {
public:
    TimedClothView() : ClothView(vardel::math::Rectangle(0, 0, 600, 500)) {}

    void draw() override
    {
        auto start = Clock::now();
        ClothView::draw();
        glFinish();
        frameTime += microsecondsSince(start);
        if (measureParts) {
            // The frame's own step and update, timed once more on their own. The cloth moves on by an
            // extra step per frame, which changes nothing in the cost.
            start = Clock::now();
            scene.clothSolver->step(integrateWeight, 0.05f);
            stepTime += microsecondsSince(start);
            start = Clock::now();
            scene.cloth->computeVertices();
            updateTime += microsecondsSince(start);
        }
        ++frames;
        drawn.set();
    }

    void resetCounts()
    {
        frames = 0;
        frameTime = stepTime = updateTime = 0;
    }

    vardel::system::Signal drawn;
    bool measureParts = false;
    std::atomic<int> frames{0};
    std::atomic<double> frameTime{0};
    std::atomic<double> stepTime{0};
    std::atomic<double> updateTime{0};
};

// The demo's window and view, opened in the run folder where the caption font is, with wind, ball
// and tearing on when asked.
struct OpenCloth {
    explicit OpenCloth(bool effects = false)
    {
        if (chdir(VARDEL_RUN_FOLDER) != 0) {
            return;
        }
        window = new vardel::gui::Window;
        window->setSize(vardel::math::Point(600, 500));
        view = new TimedClothView;
        view->control.switches.wind = view->control.switches.ball = view->control.switches.tearing = effects;
        window->addView(view);
        opened = window->open();
        if (opened) {
            view->opened.wait();
            opened = !view->failed;
        }
    }
    ~OpenCloth()
    {
        if (window) {
            window->close();
            window->release();
            view->release();
        }
    }

    vardel::gui::Window* window = nullptr;
    TimedClothView* view = nullptr;
    bool opened = false;
};

// One whole frame as fast as frames can come: the repaint request, the paint on the window's thread
// (clear, cloth update and render, one solver step) and the buffer swap.
void clothFrame(benchmark::State& state)
{
    OpenCloth cloth;
    if (!cloth.opened) {
        state.SkipWithError("the cloth view cannot be opened");
        return;
    }
    for (auto _ : state) {
        cloth.view->drawn.reset();
        cloth.view->invalidate();
        cloth.view->drawn.wait();
    }
}
BENCHMARK(clothFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// The demo as it runs: the 20 ms ticker asks for 50 frames a second for 10 seconds. Reports the
// frame rate held, the whole process's CPU use in percent of one core, and what a frame costs:
// all of it (render included), its solver step and its cloth update. With argument 1, wind, ball
// and tearing are on.
void clothAtTickerPace(benchmark::State& state)
{
    OpenCloth cloth(state.range(0) != 0);
    if (!cloth.opened) {
        state.SkipWithError("the cloth view cannot be opened");
        return;
    }
    TimedClothView& view = *cloth.view;
    view.measureParts = true;
    for (auto _ : state) {
        vardel::demo::OpenGLTicker ticker(&view);
        ticker.setPeriod(20);
        view.resetCounts();
        double cpuBefore = processCpuSeconds();
        auto start = Clock::now();
        ticker.start();
        std::this_thread::sleep_for(std::chrono::seconds(10));
        ticker.stop();
        double seconds = microsecondsSince(start) / 1e6;
        double cpu = processCpuSeconds() - cpuBefore;
        double frames = view.frames;
        state.counters["fps"] = frames / seconds;
        state.counters["cpu_percent"] = 100.0 * cpu / seconds;
        state.counters["frame_ms"] = view.frameTime / frames / 1000.0;
        state.counters["step_us"] = view.stepTime / frames;
        state.counters["update_us"] = view.updateTime / frames;
        state.counters["render_ms"] = (view.frameTime - view.stepTime - view.updateTime) / frames / 1000.0;
    }
}
BENCHMARK(clothAtTickerPace)->Arg(0)->Arg(1)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

} // namespace

BENCHMARK_MAIN();
