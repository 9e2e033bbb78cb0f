#include "DemoProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/Image.h"
#include "graphics/PngWriter.h"
#include "support/PngPicture.h"
#include "support/TempFolder.h"

// The demo's pictures of fixed scenes, compared with references kept in the source tree. Mesa may
// round a few pixels differently from one machine to another; a changed scene changes many.
// With VARDEL_REFRESH_PICTURES set, a reference that differs is replaced instead, and named on
// standard output (scripts/refresh-pictures.sh).

namespace {

using namespace std::chrono_literals;

// A channel may be off by this much before its pixel counts as differing...
constexpr int channelTolerance = 3;
// ...and this share of the pixels may differ.
constexpr double differingShare = 0.002;

struct PictureScene {
    std::string reference;
    std::vector<std::string> arguments;

    std::string name() const { return std::filesystem::path(reference).stem().string(); }
};

std::vector<PictureScene> scenes()
{
    std::vector<PictureScene> list;
    std::ifstream file(VARDEL_SOURCE_DIR "/tests/e2e/pictures/scenes.txt");
    for (std::string line; std::getline(file, line);) {
        std::istringstream words(line);
        PictureScene scene;
        if (!(words >> scene.reference) || scene.reference[0] == '#') {
            continue;
        }
        for (std::string word; words >> word;) {
            scene.arguments.push_back(word);
        }
        list.push_back(scene);
    }
    return list;
}

// The pixels of actual that differ from expected beyond the tolerance, white on a dimmed copy of actual.
struct Difference {
    Difference(const PngPicture& actual, const PngPicture& expected) : image(actual.pixels)
    {
        for (std::size_t pixel = 0; pixel * 3 < image.size(); ++pixel) {
            bool differs = false;
            for (std::size_t c = pixel * 3; c < pixel * 3 + 3; ++c) {
                differs |= std::abs(actual.pixels[c] - expected.pixels[c]) > channelTolerance;
            }
            differing += differs;
            for (std::size_t c = pixel * 3; c < pixel * 3 + 3; ++c) {
                image[c] = differs ? 255 : image[c] / 4;
            }
        }
    }

    int differing = 0;
    std::vector<unsigned char> image;
};

void save(const std::vector<unsigned char>& pixels, int width, int height, const std::string& path)
{
    vardel::graphics::Image image(vardel::graphics::Image::rgb24, width, height);
    std::copy(pixels.begin(), pixels.end(), image.pixels());
    EXPECT_STREQ(vardel::graphics::PngWriter::write(image, path.c_str()).chars(), "");
}

class PictureTest : public testing::TestWithParam<PictureScene> {};

} // namespace

TEST_P(PictureTest, theDemoDrawsTheReferencePicture)
{
    const PictureScene& scene = GetParam();
    // No font in the working folder, so no caption with its changing figures.
    TempFolder folder;
    std::string shot = folder / "actual.png";
    std::vector<std::string> command = {VARDEL_CLOTH};
    command.insert(command.end(), scene.arguments.begin(), scene.arguments.end());
    command.insert(command.end(), {"--screenshot", shot});
    Demo demo(folder.path, command);
    ASSERT_EQ(demo.exitWithin(60s), 0) << demo.errorOutput();
    PngPicture actual = PngPicture::load(shot);
    ASSERT_GT(actual.width, 0);

    std::string reference = std::string(VARDEL_SOURCE_DIR) + "/" + scene.reference;
    PngPicture expected = PngPicture::load(reference);
    bool sameSize = expected.width == actual.width && expected.height == actual.height;
    int allowed = static_cast<int>(differingShare * actual.width * actual.height);
    int differing = sameSize ? Difference(actual, expected).differing : actual.width * actual.height;

    if (std::getenv("VARDEL_REFRESH_PICTURES")) {
        if (differing > allowed) {
            std::filesystem::copy_file(shot, reference, std::filesystem::copy_options::overwrite_existing);
            std::cout << (expected.width ? "changed " : "new ") << scene.reference << std::endl;
        }
        return;
    }
    ASSERT_TRUE(sameSize) << scene.reference << " is " << expected.width << " x " << expected.height << ", the demo drew "
                          << actual.width << " x " << actual.height;
    if (differing > allowed) {
        std::filesystem::create_directories("picture-differences");
        std::string base = "picture-differences/" + scene.name();
        save(actual.pixels, actual.width, actual.height, base + "-actual.png");
        save(Difference(actual, expected).image, actual.width, actual.height, base + "-difference.png");
        ADD_FAILURE() << differing << " pixels differ from " << scene.reference << " (at most " << allowed
                      << " may); see " << std::filesystem::absolute(base).string() << "-{actual,difference}.png";
    }
}

INSTANTIATE_TEST_SUITE_P(Scenes, PictureTest, testing::ValuesIn(scenes()),
                         [](const testing::TestParamInfo<PictureScene>& info) {
                             std::string name = info.param.name();
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });
