#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

#include "platform/OpenGL.h"
#include "system/Signal.h"
#include "physics/Relaxator.h"
#include "graphics3d/SpringModel.h"
#include "gui/Window.h"
#include "demo/ClothView.h"
#include "demo/Gui.h"
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

double secondsOf(Clock::time_point time)
{
    return std::chrono::duration<double>(time.time_since_epoch()).count();
}

double threadCpuMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
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
        if (captionOnly) {
            drawCaption();
            return;
        }
        auto start = Clock::now();
        ClothView::draw();
        glFinish();
        frameTime += microsecondsSince(start);
        if (measureParts) {
            // The frame's own step and update, timed once more on their own, in the thread's CPU
            // time: Xvfb and other programs may take the core meanwhile. The cloth moves on by an
            // extra step per frame, which changes nothing in the cost.
            double cpuStart = threadCpuMicroseconds();
            scene.clothSolver->step(integrateWeight, 0.05f);
            double stepped = threadCpuMicroseconds();
            scene.cloth->computeVertices();
            stepTime += stepped - cpuStart;
            updateTime += threadCpuMicroseconds() - stepped;
        }
        ++frames;
        drawn.set();
    }

    // What the root adds to a frame, alone: new figures in the caption and the drawing of its labels.
    // Kept whole, so that callgrind can count it alone: --toggle-collect='*drawCaption*'.
    [[gnu::noinline]] void drawCaption()
    {
        if (root->helpShown != withHelp) {
            root->toggleHelp();
        }
        glFinish();
        auto start = Clock::now();
        double cpuStart = threadCpuMicroseconds();
        root->showFrame(secondsOf(start), 812.0, scene.clothSolver->weights.count, scene.clothSolver->springs.count,
                        "pins");
        root->draw();
        glFinish();
        captionCpuTime = threadCpuMicroseconds() - cpuStart;
        captionTime = microsecondsSince(start);
        drawn.set();
    }

    void resetCounts()
    {
        frames = 0;
        frameTime = stepTime = updateTime = 0;
    }

    vardel::system::Signal drawn;
    bool measureParts = false;
    std::atomic<bool> captionOnly{false};
    std::atomic<bool> withHelp{false};
    std::atomic<double> captionTime{0};
    // Of the window thread alone: all of the cost when Mesa rasterises on the calling thread
    // (LP_NUM_THREADS=0), and much less sensitive than the time to other programs' load.
    std::atomic<double> captionCpuTime{0};
    std::atomic<int> frames{0};
    std::atomic<double> frameTime{0};
    std::atomic<double> stepTime{0};
    std::atomic<double> updateTime{0};
};

// The demo's window and view, opened in the run folder where the caption font is, or with caption
// false in an empty folder, where the demo draws no text; with wind, ball and tearing on when asked.
struct OpenCloth {
    explicit OpenCloth(bool effects = false, bool caption = true)
    {
        std::filesystem::path empty = std::filesystem::temp_directory_path() / "vardel-bench-no-fonts";
        std::error_code ignored;
        std::filesystem::create_directory(empty, ignored);
        if (chdir(caption ? VARDEL_RUN_FOLDER : empty.c_str()) != 0) {
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

// What the caption, "H: help" (argument 0) or the caption and the help panel instead (argument 1,
// some 500 characters in all) add to a frame: the root's drawing of its labels, finished. Run with
// LP_NUM_THREADS=0 for thread_cpu_us to hold the whole cost.
void caption(benchmark::State& state)
{
    OpenCloth cloth;
    if (!cloth.opened || !cloth.view->root->caption) {
        state.SkipWithError("the cloth view cannot be opened with its caption font");
        return;
    }
    TimedClothView& view = *cloth.view;
    view.withHelp = state.range(0) == 1;
    view.captionOnly = true;
    double cpu = 0;
    for (auto _ : state) {
        view.drawn.reset();
        view.invalidate();
        view.drawn.wait();
        state.SetIterationTime(view.captionTime / 1e6);
        cpu += view.captionCpuTime;
    }
    state.counters["thread_cpu_us"] = cpu / static_cast<double>(state.iterations());
}
BENCHMARK(caption)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(1000);

// The demo as it runs: the 20 ms ticker asks for 50 frames a second for 10 seconds. Reports the
// frame rate held, the whole process's CPU use in percent of one core, and what a frame costs:
// all of it (render and caption included), its solver step and its cloth update. The first
// argument 1 turns wind, ball and tearing on; the second 0 runs without a font, so without text.
void clothAtTickerPace(benchmark::State& state)
{
    OpenCloth cloth(state.range(0) != 0, state.range(1) != 0);
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
BENCHMARK(clothAtTickerPace)->Args({0, 1})->Args({1, 1})->Args({0, 0})->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

} // namespace

BENCHMARK_MAIN();
