#include "demo/Options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <filesystem>
#include <ostream>

#include <CLI/CLI.hpp>

namespace vardel::demo {

namespace {

// Reads "AxB" (or "AXB") into two whole numbers between low and high, or says what is wrong.
std::string readPair(const std::string& text, const char* example, int low, int high, int& first, int& second)
{
    std::size_t cross = text.find_first_of("xX");
    auto number = [](const char* begin, const char* end, int& value) {
        auto [stop, error] = std::from_chars(begin, end, value);
        return error == std::errc() && stop == end && begin != end;
    };
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (cross == std::string::npos || !number(begin, begin + cross, first) || !number(begin + cross + 1, end, second)) {
        return std::string("expected two whole numbers such as ") + example + ", got '" + text + "'";
    }
    if (first < low || second < low || first > high || second > high) {
        return "each side must be " + std::to_string(low) + " to " + std::to_string(high) + ", got " + text;
    }
    return {};
}

// A check that a number is finite and within [low, high], or above low when low is excluded; range
// says so in words.
CLI::Validator within(double low, double high, const std::string& range, bool lowExcluded = false)
{
    return CLI::Validator(
        [=](std::string& text) -> std::string {
            double value = 0;
            if (!CLI::detail::lexical_cast(text, value) || !std::isfinite(value)) {
                return "expected a number, got '" + text + "'";
            }
            if (value < low || value > high || (lowExcluded && value == low)) {
                return "must be " + range + ", got " + text;
            }
            return {};
        },
        "");
}

// A check that a value is a whole number without sign that fits 64 bits; the conversion alone
// lets "-1" wrap and a larger number saturate.
CLI::Validator unsignedWhole()
{
    return CLI::Validator(
        [](std::string& text) -> std::string {
            std::uint64_t value = 0;
            const char* end = text.data() + text.size();
            auto [stop, error] = std::from_chars(text.data(), end, value);
            if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0])) || stop != end) {
                return "expected a whole number from 0, got '" + text + "'";
            }
            return error == std::errc() ? std::string() : "must be below 2^64, got " + text;
        },
        "");
}

bool endsWithPng(const std::string& path)
{
    if (path.size() < 4) {
        return false;
    }
    std::string extension = path.substr(path.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return std::tolower(c); });
    return extension == ".png";
}

} // namespace

std::optional<int> Options::parse(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    CLI::App app("The cloth demo: a pinned cloth swaying under gravity, orbited with the mouse.", "vardel-cloth");
    app.set_version_flag("--version", "vardel-cloth " VARDEL_VERSION);
    app.get_formatter()->column_width(26);
    // As most programs do, a later value overrides an earlier one.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

    app.add_option_function<std::string>(
           "--window",
           [this](const std::string& text) {
               std::string fault = readPair(text, "800x600", 256, 16384, windowWidth, windowHeight);
               if (!fault.empty()) {
                   throw CLI::ValidationError("--window", fault);
               }
           },
           "Client area of the window in pixels, 256 to 16384 each (600x500)")
        ->type_name("WxH");
    app.add_option_function<std::string>(
           "--cloth",
           [this](const std::string& text) {
               int columns = 0;
               int rows = 0;
               std::string fault = readPair(text, "20x10", 2, 1000, columns, rows);
               if (!fault.empty()) {
                   throw CLI::ValidationError("--cloth", fault);
               }
               clothColumns = static_cast<unsigned>(columns);
               clothRows = static_cast<unsigned>(rows);
           },
           "Weights across and down the cloth, 2 to 1000 each (50x50)")
        ->type_name("COLSxROWS");
    app.add_option("--stiffness", stiffness, "Spring stiffness, above 0 to 10000 (60)")
        ->check(within(0, 10000, "above 0 to 10000", true))
        ->type_name("K");
    app.add_option("--damping", damping, "Velocity damping, 0 to 100 (0.1)")
        ->check(within(0, 100, "0 to 100"))
        ->type_name("D");
    app.add_option("--dt", timeStep, "Simulated time per frame, above 0 to 1 (0.05)")
        ->check(within(0, 1, "above 0 to 1", true))
        ->type_name("T");
    app.add_flag("--paused", paused, "Start paused (Space goes on)");
    app.add_flag("--wind", wind, "Start with the wind on");
    app.add_flag("--ball", ball, "Start with the ball under the cloth");
    app.add_flag("--tear", tear, "Start with tearing on");
    app.add_option("--seed", seed, "Seed of the wind's gusts, a whole number from 0 (1)")
        ->check(unsignedWhole())
        ->type_name("N");
    app.add_option("--turn", turn, "Camera turn in degrees as a sideways left drag sets it, -360 to 360 (0)")
        ->check(within(-360, 360, "-360 to 360"))
        ->type_name("DEG");
    app.add_option("--tilt", tilt, "Camera tilt in degrees as an upward left drag sets it, -360 to 360 (0)")
        ->check(within(-360, 360, "-360 to 360"))
        ->type_name("DEG");
    app.add_option("--frames", frames, "Draw N frames (1 to 1000000), then end with status 0")
        ->check(within(1, 1000000, "1 to 1000000"))
        ->type_name("N");
    app.add_option_function<std::string>(
           "--screenshot",
           [this](const std::string& path) {
               if (!endsWithPng(path)) {
                   throw CLI::ValidationError("--screenshot", "the file name must end in .png, got '" + path + "'");
               }
               std::filesystem::path folder = std::filesystem::path(path).parent_path();
               std::error_code error;
               if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
                   throw CLI::ValidationError("--screenshot", "no folder " + folder.string());
               }
               screenshot = path;
           },
           "Save the last frame as PNG (after --frames, or when the window closes)")
        ->type_name("FILE.png");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return 0;
    } catch (const CLI::CallForVersion& version) {
        out << version.what() << '\n';
        return 0;
    } catch (const CLI::ParseError& error) {
        std::string line = error.what();
        std::replace(line.begin(), line.end(), '\n', ' ');
        err << "vardel-cloth: " << line << "; see --help\n";
        return 2;
    }
    return std::nullopt;
}

} // namespace vardel::demo
