#include "DemoProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

// Xlib after GoogleTest: its macros (None) collide with GoogleTest's names.
#include "support/CloseBox.h"
#include "support/XWindows.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

// The demo started as a hostile environment starts it: without OpenGL, against a display that
// refuses it, with too few descriptors, six at once, and with its window destroyed by another
// program. Each case ends with a known status, soon, and with exactly the lines it should write.

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The command that runs the demo after the shell words given (settings of the environment or
// limits), so that they apply to the demo alone.
std::vector<std::string> demoAfter(const std::string& shellWords)
{
    return {"/bin/sh", "-c", shellWords + " exec \"$0\"", VARDEL_CLOTH};
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The lines the demo wrote itself: the others come from libraries it cannot silence.
std::vector<std::string> ownLines(const std::string& text)
{
    std::vector<std::string> own;
    for (const std::string& line : linesOf(text)) {
        if (line.rfind("vardel-cloth:", 0) == 0) {
            own.push_back(line);
        }
    }
    return own;
}

// An Xvfb of its own that accepts only clients that show the cookie in its authority file.
class GuardedServer {
public:
    GuardedServer()
    {
        std::random_device random;
        char cookie[33];
        std::snprintf(cookie, sizeof cookie, "%08x%08x%08x%08x", random(), random(), random(), random());
        for (int number = 300; number < 400 && !pid; ++number) {
            std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
            if (std::filesystem::exists(socket) || std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock")) {
                continue;
            }
            name = ":" + std::to_string(number);
            std::string add = "xauth -q -f " + folder / "cookie" + " add " + name + " . " + cookie + " 2>/dev/null";
            if (std::system(add.c_str()) != 0) {
                return;
            }
            pid = fork();
            if (pid == 0) {
                std::freopen("/dev/null", "w", stderr);
                execlp("Xvfb", "Xvfb", name.c_str(), "-auth", (folder / "cookie").c_str(), "-nolisten", "tcp",
                       "-screen", "0", "640x480x24", static_cast<char*>(nullptr));
                _exit(127);
            }
        }
        // Up once a client with the cookie gets in.
        std::string probe = "XAUTHORITY=" + folder / "cookie" + " xdpyinfo -display " + name + " >/dev/null 2>&1";
        for (auto end = Clock::now() + 10s; pid > 0 && Clock::now() < end; std::this_thread::sleep_for(50ms)) {
            if (std::system(probe.c_str()) == 0) {
                up = true;
                break;
            }
        }
    }
    ~GuardedServer()
    {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }

    TempFolder folder;
    std::string name;
    pid_t pid = 0;
    bool up = false;
};

class DemoFailureTest : public DisplayTest {
protected:
    // At least count mapped windows titled "Vardel", or fewer after the time given.
    std::vector<::Window> demoWindows(std::size_t count, std::chrono::milliseconds limit)
    {
        return waitForWindowsTitled(display, "Vardel", count, limit);
    }
};

// How long a demo took to end, once it has ended.
std::chrono::milliseconds since(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

} // namespace

TEST(DemoFailures, withoutAnOpenGLContextOneLineNamesItAndItFails)
{
    // Indirect rendering that the server refuses, and no driver to render directly with.
    TempFolder noDrivers;
    for (const std::string& setting : {std::string("LIBGL_ALWAYS_INDIRECT=1"), "LIBGL_DRIVERS_PATH=" + noDrivers.path}) {
        SCOPED_TRACE(setting);
        TempFolder folder;
        auto start = Clock::now();
        Demo demo(folder.path, demoAfter(setting));
        EXPECT_EQ(demo.exitWithin(10s), 1);
        EXPECT_LT(since(start), 5s);
        std::string error = demo.errorOutput();
        EXPECT_EQ(ownLines(error), std::vector<std::string>{
            "vardel-cloth: cannot open the window: no OpenGL context (the display refused to make one)"})
            << error;
        // Anything else is GL's loader saying which driver it could not load.
        for (const std::string& line : linesOf(error)) {
            EXPECT_TRUE(line.rfind("vardel-cloth:", 0) == 0 || line.rfind("libGL error: ", 0) == 0) << line;
        }
    }
}

TEST(DemoFailures, aDisplayThatRefusesTheConnectionIsNamedOnceWithoutRetries)
{
    GuardedServer server;
    ASSERT_TRUE(server.up) << "no Xvfb with an authority file on " << server.name;
    TempFolder folder;
    auto start = Clock::now();
    Demo demo(folder.path, demoAfter("XAUTHORITY=/nonexistent"), server.name.c_str());
    EXPECT_EQ(demo.exitWithin(10s), 1);
    // Twenty attempts took half a second and more.
    EXPECT_LT(since(start), 3s);
    std::string error = demo.errorOutput();
    std::vector<std::string> lines = linesOf(error);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "vardel-cloth: cannot open the window: the display refused the connection");
    // Before it, the server's reason as the X library prints it (one line, and here an empty one
    // after it since the reason ends in a newline of its own), printed once.
    std::vector<std::string> before(lines.begin(), lines.end() - 1);
    std::vector<std::string> said;
    for (const std::string& line : before) {
        if (!line.empty()) {
            said.push_back(line);
        }
    }
    ASSERT_EQ(said.size(), 1u) << error;
    EXPECT_NE(said[0].find("uthorization"), std::string::npos) << error;
    EXPECT_LE(before.size(), 2u) << error;
}

TEST(DemoFailures, tooFewDescriptorsAreNamedAsTheCause)
{
#ifdef VARDEL_UNDEFINED_SANITIZER
    // Its check of an object's type probes memory through a pipe; without a spare descriptor it
    // reports a false fault and ends the program before the demo can say anything.
    GTEST_SKIP() << "the undefined-behaviour sanitizer needs descriptors of its own";
#endif
    // With 4 the display connection fails, with 5 and 6 the pixel formats' connection or GL's
    // vendor library; 7 is enough to run.
    for (int limit : {4, 5, 6}) {
        SCOPED_TRACE(limit);
        TempFolder folder;
        auto start = Clock::now();
        Demo demo(folder.path, demoAfter("ulimit -n " + std::to_string(limit) + ";"));
        EXPECT_EQ(demo.exitWithin(10s), 1);
        EXPECT_LT(since(start), 5s);
        std::string error = demo.errorOutput();
        std::vector<std::string> lines = linesOf(error);
        ASSERT_EQ(lines.size(), 1u) << error;
        EXPECT_EQ(lines[0].rfind("vardel-cloth: cannot open the window: no ", 0), 0u) << error;
        const std::string cause = " (too many open files)";
        EXPECT_EQ(lines[0].substr(lines[0].size() - std::min(lines[0].size(), cause.size())), cause) << error;
    }
}

TEST_F(DemoFailureTest, sixStartsAtOnceInOneFolderAllFindTheFont)
{
    std::vector<TempFolder> errors(6);
    std::vector<std::unique_ptr<Demo>> demos;
    for (const TempFolder& folder : errors) {
        demos.push_back(
            std::make_unique<Demo>(VARDEL_RUN_FOLDER, std::vector<std::string>{VARDEL_CLOTH}, nullptr, folder.path));
    }
    std::vector<::Window> windows = demoWindows(6, 60s);
    ASSERT_EQ(windows.size(), 6u);
    for (::Window window : windows) {
        sendCloseBox(display, window);
    }
    for (std::size_t i = 0; i < demos.size(); ++i) {
        EXPECT_EQ(demos[i]->exitWithin(10s), 0) << "start " << i;
        EXPECT_EQ(demos[i]->errorOutput(), "") << "start " << i;
    }
}

TEST_F(DemoFailureTest, theWindowManagerLearnsTheLimitsAndAWindowDestroyedElsewhereEndsTheDemo)
{
    Demo demo(VARDEL_RUN_FOLDER, {VARDEL_CLOTH});
    std::vector<::Window> windows = demoWindows(1, 10s);
    ASSERT_EQ(windows.size(), 1u) << demo.errorOutput();

    // Known to the window manager before the window was mapped, as xprop shows them.
    std::string command = "xprop -id " + std::to_string(windows[0]) + " WM_NORMAL_HINTS";
    std::string hints;
    if (FILE* xprop = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, xprop)) {
            hints += buffer;
        }
        pclose(xprop);
    }
    EXPECT_NE(hints.find("program specified minimum size: 256 by 256"), std::string::npos) << hints;

    // Let it draw a while, so that the window goes while GL renders into it.
    std::this_thread::sleep_for(500ms);
    auto start = Clock::now();
    XDestroyWindow(display, windows[0]);
    XSync(display, False);
    EXPECT_EQ(demo.exitWithin(5s), 0);
    EXPECT_LT(since(start), 1s);
    EXPECT_EQ(demo.errorOutput(), "");
}
