#include "graphics/PngWriter.h"
#include "graphics/Image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/PngPicture.h"
#include "support/TempFolder.h"

using vardel::graphics::Image;
using vardel::graphics::PngWriter;

namespace {

// An image whose every byte tells its place, so that a swapped channel or row shows.
Image* pattern(std::uint32_t format, int width, int height)
{
    auto* image = new Image(format, width, height);
    unsigned char* pixels = image->lock();
    for (int i = 0; i < image->bytesPerRow() * height; ++i) {
        pixels[i] = static_cast<unsigned char>(i * 7 + i / image->bytesPerRow());
    }
    image->unlock();
    return image;
}

} // namespace

TEST(PngWriter, greyRgbAndRgbaImagesReadBackByteForByte)
{
    TempFolder folder;
    for (std::uint32_t format : {0x0008000Du, Image::rgb24, 0x00200001u}) {
        Image* image = pattern(format, 37, 11);
        std::string path = folder / "picture.png";
        EXPECT_STREQ(PngWriter::write(*image, path.c_str()).chars(), "");
        int channels = Image::bytesPerPixel(format);
        PngPicture picture = PngPicture::load(path, channels);
        ASSERT_EQ(picture.width, 37);
        ASSERT_EQ(picture.height, 11);
        EXPECT_TRUE(std::equal(picture.pixels.begin(), picture.pixels.end(), image->pixels())) << std::hex << format;
        image->release();
        // Nothing is left beside the picture.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 1);
    }
}

TEST(PngWriter, refusesWhatPngCannotHoldAndWritesNothing)
{
    TempFolder folder;
    std::string path = folder / "picture.png";
    for (auto [format, width, height] : {std::tuple{0x00100002u, 4, 4}, {0x0040000Au, 4, 4}, {0x12345678u, 4, 4},
                                          {Image::rgb24, 0, 4}, {Image::rgb24, 4, -1}}) {
        Image image(format, width, height);
        std::string fault = PngWriter::write(image, path.c_str()).chars();
        EXPECT_NE(fault.find(path), std::string::npos) << fault;
        EXPECT_FALSE(std::filesystem::exists(path));
        EXPECT_FALSE(image.isLocked());
    }
}

TEST(PngWriter, aFailedWriteSaysWhyAndLeavesTheEarlierFileAsItWas)
{
    TempFolder folder;
    Image* image = pattern(Image::rgb24, 8, 8);

    std::string missing = folder / "no-such-folder/picture.png";
    std::string fault = PngWriter::write(*image, missing.c_str()).chars();
    EXPECT_NE(fault.find(missing), std::string::npos) << fault;
    EXPECT_NE(fault.find("No such file"), std::string::npos) << fault;

    // The picture is written beside the old file first; when that cannot be done the old one stays.
    std::string earlier = folder.write("earlier.png", "the earlier picture");
    std::filesystem::create_directory(earlier + ".part");
    EXPECT_STRNE(PngWriter::write(*image, earlier.c_str()).chars(), "");
    EXPECT_EQ(folder.read("earlier.png"), "the earlier picture");

    // Once it can, the new picture replaces the old.
    std::filesystem::remove(earlier + ".part");
    EXPECT_STREQ(PngWriter::write(*image, earlier.c_str()).chars(), "");
    EXPECT_EQ(PngPicture::load(earlier).width, 8);
    image->release();
}
