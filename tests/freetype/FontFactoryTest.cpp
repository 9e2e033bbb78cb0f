#include "freetype/FontFactory.h"
#include "freetype/Descriptor.h"
#include "freetype/Font.h"
#include "freetype/FormatException.h"
#include "freetype/FreetypeException.h"
#include "freetype/NoMatchException.h"
#include "io/IOException.h"
#include "FontFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

using namespace vardel::freetype;

namespace {

Descriptor wanted(const char* family, const char* style = "regular")
{
    Descriptor descriptor;
    descriptor.family = family;
    descriptor.style = style;
    descriptor.width = 12;
    descriptor.height = 12;
    return descriptor;
}

class FontFactoryTest : public ::testing::Test {
protected:
    // The family and style of the font the factory creates for descriptor.
    std::string chosen(const Descriptor& descriptor)
    {
        Font* font = factory.createFont(descriptor);
        std::string name = font->getName().chars();
        font->release();
        return name;
    }

    std::string fileOf(const FontFactory::FontInfo& info) { return info.file.chars(); }
    std::string nameOf(const FontFactory::FontInfo& info) { return fileOf(info).substr(fileOf(info).rfind('\\') + 1); }

    TempFolder folder;
    FontFactory factory;
};

} // namespace

TEST_F(FontFactoryTest, familyOutweighsStyleAndTiesGoToTheLaterFile)
{
    copyFont(folder, "DejaVuSans.ttf", "sans.ttf");
    copyFont(folder, "DejaVuSans-Bold.ttf", "sans-bold.ttf");
    copyFont(folder, "DejaVuSerif.ttf", "serif.ttf");
    copyFont(folder, "DejaVuSerif-Bold.ttf", "serif-bold.ttf");
    copyFont(folder, "DejaVuSansMono.ttf", "mono.ttf");
    factory.scan(folder.path.c_str());
    ASSERT_EQ(factory.fonts.count, 5u);
    EXPECT_EQ(factory.className(), "Object:FontFactory");

    // Names are kept in lower case, and compared so.
    std::string lastBold;
    for (const FontFactory::FontInfo& info : factory.fonts) {
        EXPECT_EQ(info.family, info.family.toLowerCase());
        if (info.style == "bold") {
            lastBold = info.family.chars();
        }
    }
    EXPECT_EQ(chosen(wanted("DEJAVU SERIF", "Bold")), "DejaVu Serif Bold");
    EXPECT_EQ(chosen(wanted("dejavu sans", "book")), "DejaVu Sans Book");
    EXPECT_EQ(chosen(wanted("DejaVu Sans", "bold")), "DejaVu Sans Bold");
    EXPECT_EQ(chosen(wanted("DejaVu Sans Mono", "italic")), "DejaVu Sans Mono Book");
    // Style alone: the two bold faces tie and the one listed later wins.
    Font* font = factory.createFont(wanted("unknown", "BOLD"));
    EXPECT_EQ(font->descriptor.family.toLowerCase(), lastBold.c_str());
    font->release();
    // Nothing matches: the file listed last.
    const FontFactory::FontInfo& last = factory.fonts[factory.fonts.count - 1];
    font = factory.createFont(wanted("unknown", "unknown"));
    EXPECT_EQ(font->descriptor.family.toLowerCase(), last.family);
    EXPECT_EQ(font->descriptor.style.toLowerCase(), last.style);
    font->release();
}

TEST_F(FontFactoryTest, equalFacesGoToTheFileListedLater)
{
    copyFont(folder, "DejaVuSans.ttf", "a.ttf");
    copyFont(folder, "DejaVuSans.ttf", "b.ttf");
    factory.scan(folder.path.c_str());
    ASSERT_EQ(factory.fonts.count, 2u);
    // Spoiling one file after the scan shows which one a request opens.
    std::filesystem::resize_file(folder / nameOf(factory.fonts[0]), 0);
    EXPECT_EQ(chosen(wanted("DejaVu Sans", "Book")), "DejaVu Sans Book");
    std::filesystem::resize_file(folder / nameOf(factory.fonts[1]), 0);
    EXPECT_THROW(factory.createFont(wanted("DejaVu Sans", "Book")), FreetypeException);
}

TEST_F(FontFactoryTest, onlyFontFilesOfTheFolderItselfAreListed)
{
    std::filesystem::create_directory(folder / "nested");
    copyFont(folder, "DejaVuSansMono.ttf", "nested/inner.ttf");
    folder.write("readme.txt", "not a font");
    folder.write("empty.ttf", "");
    copyFont(folder, "DejaVuSerif.ttf", "serif.ttf");

    factory.scan(folder.path.c_str());
    EXPECT_EQ(factory.directory, (folder.path + "\\").c_str());
    ASSERT_EQ(factory.fonts.count, 1u);
    EXPECT_EQ(fileOf(factory.fonts[0]), folder.path + "\\serif.ttf");
    EXPECT_EQ(factory.fonts[0].family, "dejavu serif");
    EXPECT_EQ(factory.fonts[0].style, "book");
    // A folder given with its backslash keeps just that one.
    factory.scan((folder.path + "\\").c_str());
    EXPECT_EQ(factory.directory, (folder.path + "\\").c_str());
    EXPECT_EQ(factory.fonts.count, 1u);
}

TEST_F(FontFactoryTest, defaultFactoryScansTheCurrentFolder)
{
    copyFont(folder, "DejaVuSans.ttf", "sans.ttf");
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path);
    FontFactory here;
    std::filesystem::current_path(previous);
    EXPECT_EQ(here.directory, ".\\");
    ASSERT_EQ(here.fonts.count, 1u);
    EXPECT_EQ(here.fonts[0].file, ".\\sans.ttf");
}

TEST_F(FontFactoryTest, withoutFontsEveryRequestFindsNoMatch)
{
    folder.write("notes.txt", "text");
    std::filesystem::create_directory(folder / "sub.ttf");
    for (std::string path : {folder.path, folder.path + "/missing"}) {
        factory.scan(path.c_str());
        EXPECT_EQ(factory.fonts.count, 0u);
        try {
            factory.createFont(wanted("DejaVu Sans"));
            ADD_FAILURE() << "no exception for " << path;
        } catch (const NoMatchException& exception) {
            EXPECT_EQ(exception.message, "NoMatchException");
        }
    }
}

TEST_F(FontFactoryTest, fileChangedSinceTheScanThrowsItsOwnError)
{
    std::string path = copyFont(folder, "DejaVuSans.ttf", "sans.ttf");
    factory.scan(folder.path.c_str());
    ASSERT_EQ(factory.fonts.count, 1u);

    Descriptor huge = wanted("DejaVu Sans");
    huge.width = huge.height = 5000;
    try {
        factory.createFont(huge);
        ADD_FAILURE() << "no exception";
    } catch (const FormatException& exception) {
        EXPECT_EQ(exception.message, "FormatException");
    }
    std::filesystem::remove(path);
    EXPECT_THROW(factory.createFont(wanted("DejaVu Sans")), vardel::io::FileNotFoundException);
    folder.write("sans.ttf", "replaced by text");
    EXPECT_THROW(factory.createFont(wanted("DejaVu Sans")), FreetypeException);
}

TEST_F(FontFactoryTest, factoriesOnSeveralThreadsBuildTheSameFont)
{
    copyFont(folder, "DejaVuSans.ttf", "sans.ttf");
    copyFont(folder, "DejaVuSerif.ttf", "serif.ttf");
    auto atlasOf = [](Font* font) {
        const unsigned char* pixels = font->atlas.lock();
        std::string bytes(reinterpret_cast<const char*>(pixels),
                          static_cast<std::size_t>(font->atlas.bytesPerRow()) * font->atlas.height());
        font->atlas.unlock();
        font->release();
        return bytes;
    };
    factory.scan(folder.path.c_str());
    std::string expected = atlasOf(factory.createFont(wanted("DejaVu Serif")));

    std::vector<std::thread> threads;
    std::vector<int> same(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            FontFactory own;
            own.scan(folder.path.c_str());
            for (int i = 0; i < 5; ++i) {
                same[t] += own.fonts.count == 2 && atlasOf(own.createFont(wanted("DejaVu Serif"))) == expected;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(same, std::vector<int>(4, 5));
}
