#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace vardel::demo {

// What the command line sets. The defaults are the demo as it runs without arguments.
class Options {
public:
    // Reads the arguments after the program's name. Nothing when the demo should run; otherwise
    // the status to exit with at once: 0 after the usage or the version on out, 2 after one line
    // on err naming the option and what is wrong with it.
    std::optional<int> parse(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

    // Client area of the main window.
    int windowWidth = 600;
    int windowHeight = 500;
    // Weights across and down the cloth.
    unsigned clothColumns = 50;
    unsigned clothRows = 50;
    float stiffness = 60.0f;
    float damping = 0.1f;
    // Simulated time per drawn frame.
    float timeStep = 0.05f;
    // What the cloth starts with: paused, in the wind, over the ball, tearing; the wind's gusts
    // follow the seed.
    bool paused = false;
    bool wind = false;
    bool ball = false;
    bool tear = false;
    std::uint64_t seed = 1;
    // Starting camera angles in degrees, as a left drag sets them.
    float turn = 0.0f;
    float tilt = 0.0f;
    // Frames to draw before the program ends by itself; 0 runs until the window closes.
    int frames = 0;
    // Where the last frame is saved as PNG; empty saves nothing.
    std::string screenshot;
};

} // namespace vardel::demo
