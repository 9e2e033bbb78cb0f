#include "freetype/Descriptor.h"
#include "freetype/Font.h"
#include "freetype/FontFactory.h"
#include "freetype/FormatException.h"
#include "freetype/FreetypeException.h"
#include "freetype/NoMatchException.h"
#include "io/IOException.h"
#include "support/FontFiles.h"
#include "support/TestThread.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace vardel::freetype;
using vardel::test::TestThread;
namespace fs = std::filesystem;

namespace {

Descriptor wanted(const char* family, const char* style = "regular")
{
    Descriptor descriptor;
    descriptor.family = family;
    descriptor.style = style;
    descriptor.width = descriptor.height = 12;
    return descriptor;
}

class FontFactoryTest : public ::testing::Test {
protected:
    // The family and style of the font created for descriptor.
    std::string chosen(const Descriptor& descriptor)
    {
        Font* font = factory.createFont(descriptor);
        std::string name = font->getName().chars();
        font->release();
        return name;
    }

    TempFolder folder;
    FontFactory factory;
};

} // namespace

TEST_F(FontFactoryTest, familyOutweighsStyleAndTiesGoToTheLaterFile)
{
    copyFont(folder, "DejaVuSans.ttf", "sans.ttf");
    copyFont(folder, "DejaVuSans-Bold.ttf", "sans-bold.ttf");
    copyFont(folder, "DejaVuSerif-Bold.ttf", "serif-bold.ttf");
    copyFont(folder, "DejaVuSansMono.ttf", "mono.ttf");
    factory.scan(folder.path.c_str());
    ASSERT_EQ(factory.fonts.count, 4u);

    EXPECT_EQ(chosen(wanted("DEJAVU SERIF", "Bold")), "DejaVu Serif Bold");
    EXPECT_EQ(chosen(wanted("dejavu sans", "book")), "DejaVu Sans Book");
    EXPECT_EQ(chosen(wanted("DejaVu Sans", "bold")), "DejaVu Sans Bold");
    EXPECT_EQ(chosen(wanted("DejaVu Sans Mono", "italic")), "DejaVu Sans Mono Book");
    // By style alone the two bold faces tie; with no match at all, the last file wins.
    std::string lastBold;
    for (const FontFactory::FontInfo& info : factory.fonts) {
        lastBold = info.style == "bold" ? info.family.chars() : lastBold;
    }
    EXPECT_EQ(chosen(wanted("unknown", "BOLD")), lastBold == "dejavu sans" ? "DejaVu Sans Bold" : "DejaVu Serif Bold");
    const FontFactory::FontInfo& last = factory.fonts[factory.fonts.count - 1];
    Font* font = factory.createFont(wanted("unknown", "unknown"));
    EXPECT_EQ(font->descriptor.family.toLowerCase(), last.family);
    font->release();

    // Of two equal files the one listed later is opened: spoiling the other does not matter.
    TempFolder twins;
    copyFont(twins, "DejaVuSans.ttf", "a.ttf");
    copyFont(twins, "DejaVuSans.ttf", "b.ttf");
    factory.scan(twins.path.c_str());
    ASSERT_EQ(factory.fonts.count, 2u);
    fs::resize_file(twins / nameOf(factory.fonts[0]), 0);
    EXPECT_EQ(chosen(wanted("DejaVu Sans", "Book")), "DejaVu Sans Book");
    fs::resize_file(twins / nameOf(factory.fonts[1]), 0);
    EXPECT_THROW(factory.createFont(wanted("DejaVu Sans", "Book")), FreetypeException);
}

TEST_F(FontFactoryTest, onlyFontFilesOfTheFolderItselfAreListed)
{
    fs::create_directory(folder / "nested.ttf");
    copyFont(folder, "DejaVuSansMono.ttf", "nested.ttf/inner.ttf");
    folder.write("readme.txt", "not a font");
    copyFont(folder, "DejaVuSerif.ttf", "Serif.ttf");

    factory.scan(folder.path.c_str());
    EXPECT_EQ(factory.directory, (folder.path + "\\").c_str());
    ASSERT_EQ(factory.fonts.count, 1u);
    EXPECT_EQ(factory.fonts[0].file, (folder.path + "\\Serif.ttf").c_str());
    EXPECT_EQ(factory.fonts[0].family, "dejavu serif");
    EXPECT_EQ(factory.fonts[0].style, "book");
    factory.scan((folder.path + "\\").c_str());
    EXPECT_EQ(factory.directory, (folder.path + "\\").c_str());

    // The default factory scans the current folder.
    fs::path previous = fs::current_path();
    fs::current_path(folder.path);
    FontFactory here;
    fs::current_path(previous);
    EXPECT_EQ(here.directory, ".\\");
    ASSERT_EQ(here.fonts.count, 1u);
    EXPECT_EQ(here.fonts[0].file, ".\\Serif.ttf");
}

TEST_F(FontFactoryTest, requestsFailWithTheReasonOfTheirOwn)
{
    folder.write("notes.txt", "text");
    for (std::string path : {folder.path, folder.path + "/missing"}) {
        factory.scan(path.c_str());
        try {
            factory.createFont(wanted("DejaVu Sans"));
            ADD_FAILURE() << "no exception for " << path;
        } catch (const NoMatchException& exception) {
            EXPECT_EQ(exception.message, "NoMatchException");
        }
    }

    std::string path = copyFont(folder, "DejaVuSans.ttf", "sans.ttf");
    factory.scan(folder.path.c_str());
    Descriptor huge = wanted("DejaVu Sans");
    huge.width = huge.height = 5000;
    try {
        factory.createFont(huge);
        ADD_FAILURE() << "no exception";
    } catch (const FormatException& exception) {
        EXPECT_EQ(exception.message, "FormatException");
    }
    fs::remove(path);
    EXPECT_THROW(factory.createFont(wanted("DejaVu Sans")), vardel::io::FileNotFoundException);
    folder.write("sans.ttf", "replaced by text");
    EXPECT_THROW(factory.createFont(wanted("DejaVu Sans")), FreetypeException);
}

TEST_F(FontFactoryTest, factoriesOnSeveralThreadsFindAndBuildTheSameFonts)
{
    copyFont(folder, "DejaVuSans.ttf", "sans.ttf");
    copyFont(folder, "DejaVuSerif.ttf", "serif.ttf");
    auto atlasOf = [](Font* font) {
        const unsigned char* pixels = font->atlas.lock();
        std::string bytes(reinterpret_cast<const char*>(pixels), font->atlas.bytesPerRow() * font->atlas.height());
        font->atlas.unlock();
        font->release();
        return bytes;
    };
    factory.scan(folder.path.c_str());
    std::string expected = atlasOf(factory.createFont(wanted("DejaVu Serif")));

    // Factories on several threads read the same files at once and must each find them all.
    std::vector<TestThread> threads;
    std::vector<int> same(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            FontFactory own;
            for (int i = 0; i < 5; ++i) {
                own.scan(folder.path.c_str());
                same[t] += own.fonts.count == 2 && atlasOf(own.createFont(wanted("DejaVu Serif"))) == expected;
            }
        });
    }
    for (TestThread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(same, std::vector<int>(4, 5));
}
