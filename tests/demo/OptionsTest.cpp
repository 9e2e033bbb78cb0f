#include "demo/Options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/TempFolder.h"

using vardel::demo::Options;

namespace {

// One parse of the arguments given after the program's name, with what it wrote.
struct Parse {
    explicit Parse(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), "vardel-cloth");
        std::vector<const char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(argument.c_str());
        }
        status = options.parse(static_cast<int>(argv.size()), argv.data(), out, err);
    }

    Options options;
    std::optional<int> status;
    std::ostringstream out;
    std::ostringstream err;
};

} // namespace

TEST(Options, withoutArgumentsTheDemoRunsAsItAlwaysHas)
{
    Parse parse({});
    EXPECT_FALSE(parse.status);
    const Options& options = parse.options;
    EXPECT_EQ(options.windowWidth, 600);
    EXPECT_EQ(options.windowHeight, 500);
    EXPECT_EQ(options.clothColumns, 50u);
    EXPECT_EQ(options.clothRows, 50u);
    EXPECT_EQ(options.stiffness, 60.0f);
    EXPECT_EQ(options.damping, 0.1f);
    EXPECT_EQ(options.timeStep, 0.05f);
    EXPECT_FALSE(options.paused);
    EXPECT_FALSE(options.wind);
    EXPECT_FALSE(options.ball);
    EXPECT_FALSE(options.tear);
    EXPECT_EQ(options.seed, 1u);
    EXPECT_EQ(options.turn, 0.0f);
    EXPECT_EQ(options.tilt, 0.0f);
    EXPECT_EQ(options.frames, 0);
    EXPECT_EQ(options.screenshot, "");
    EXPECT_EQ(parse.out.str(), "");
    EXPECT_EQ(parse.err.str(), "");
}

TEST(Options, goodValuesAreTakenIncludingTheLimits)
{
    TempFolder folder;
    Parse parse({"--window", "256X16384", "--cloth", "1000x2", "--stiffness", "1e4", "--damping", "0", "--dt", "1",
                 "--turn", "-360", "--tilt", "12.5", "--frames", "40", "--screenshot", folder / "shot.PNG", "--paused",
                 "--wind", "--ball", "--tear", "--seed", "18446744073709551615"});
    ASSERT_FALSE(parse.status) << parse.err.str();
    const Options& options = parse.options;
    EXPECT_EQ(options.windowWidth, 256);
    EXPECT_EQ(options.windowHeight, 16384);
    EXPECT_EQ(options.clothColumns, 1000u);
    EXPECT_EQ(options.clothRows, 2u);
    EXPECT_EQ(options.stiffness, 10000.0f);
    EXPECT_EQ(options.damping, 0.0f);
    EXPECT_EQ(options.timeStep, 1.0f);
    EXPECT_EQ(options.turn, -360.0f);
    EXPECT_EQ(options.tilt, 12.5f);
    EXPECT_EQ(options.frames, 40);
    EXPECT_EQ(options.screenshot, folder / "shot.PNG");
    EXPECT_TRUE(options.paused && options.wind && options.ball && options.tear);
    EXPECT_EQ(options.seed, 18446744073709551615u);

    // A file name without a folder is one in the working folder; a later value wins.
    Parse again({"--screenshot", "cloth.png", "--cloth", "20x10", "--cloth=30x15", "--frames=1"});
    ASSERT_FALSE(again.status) << again.err.str();
    EXPECT_EQ(again.options.screenshot, "cloth.png");
    EXPECT_EQ(again.options.clothColumns, 30u);
    EXPECT_EQ(again.options.clothRows, 15u);
    EXPECT_EQ(again.options.frames, 1);
}

TEST(Options, eachBadValueEndsWithStatus2AndOneLineNamingTheOption)
{
    const std::vector<std::vector<std::string>> bad = {
        // Unknown options and stray arguments.
        {"--wobble"}, {"cloth"},
        // Missing values.
        {"--window"}, {"--cloth"}, {"--stiffness"}, {"--frames"}, {"--screenshot"},
        // Malformed values.
        {"--window", "600"}, {"--window", "600x"}, {"--window", "x500"}, {"--window", "600x500x2"},
        {"--window", "wide"}, {"--cloth", "20*10"}, {"--cloth", "-5x10"}, {"--stiffness", "stiff"},
        {"--damping", "nan"}, {"--dt", "inf"}, {"--frames", "1.5"}, {"--frames", "ten"}, {"--turn", "left"},
        {"--screenshot", "cloth.jpg"}, {"--screenshot", "png"}, {"--seed", "gusty"}, {"--seed", "-1"},
        {"--seed", "2.5"}, {"--seed", "18446744073709551616"}, {"--paused=maybe"},
        // Values out of range.
        {"--window", "255x500"}, {"--window", "600x16385"}, {"--cloth", "1x50"}, {"--cloth", "50x1001"},
        {"--stiffness", "0"}, {"--stiffness", "10001"}, {"--damping", "-0.1"}, {"--damping", "101"},
        {"--dt", "0"}, {"--dt", "1.5"}, {"--turn", "361"}, {"--tilt", "-361"}, {"--frames", "0"},
        {"--frames", "1000001"}, {"--screenshot", "no-such-folder/cloth.png"},
    };
    for (const auto& arguments : bad) {
        Parse parse(arguments);
        std::string line = parse.err.str();
        SCOPED_TRACE(arguments[0] + (arguments.size() > 1 ? " " + arguments[1] : "") + " -> " + line);
        EXPECT_EQ(parse.status, 2);
        EXPECT_EQ(parse.out.str(), "");
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line.find('\n'), line.size() - 1);
        EXPECT_EQ(line.rfind("vardel-cloth: ", 0), 0u);
        EXPECT_NE(line.find(arguments[0].substr(0, arguments[0].find('='))), std::string::npos);
        EXPECT_NE(line.find("see --help"), std::string::npos);
    }
}

TEST(Options, helpAndVersionGoToStandardOutputWithStatus0)
{
    Parse help({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err.str(), "");
    for (const char* option : {"--help", "--version", "--window WxH", "--cloth COLSxROWS", "--stiffness", "--damping",
                               "--dt", "--turn", "--tilt", "--paused", "--wind", "--ball", "--tear", "--seed N",
                               "--frames N", "--screenshot FILE.png"}) {
        EXPECT_NE(help.out.str().find(option), std::string::npos) << option;
    }

    Parse version({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.str(), "vardel-cloth " VARDEL_VERSION "\n");
    EXPECT_EQ(version.err.str(), "");
}
