#include "freetype/Descriptor.h"
#include "freetype/Font.h"
#include "freetype/FontFactory.h"
#include "freetype/FormatException.h"
#include "freetype/FreetypeException.h"
#include "io/SystemFile.h"
#include "FontFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

using namespace vardel::freetype;
using vardel::io::File;
namespace fs = std::filesystem;

namespace {

// Every regular file of a folder with its contents.
std::map<std::string, std::string> contentsOf(const TempFolder& folder)
{
    std::map<std::string, std::string> contents;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder.path)) {
        std::error_code looping;
        if (entry.is_regular_file(looping) && access(entry.path().c_str(), R_OK) == 0) {
            contents[entry.path().filename()] = folder.read(entry.path().filename());
        }
    }
    return contents;
}

// The bare names of the files a factory listed.
std::set<std::string> namesOf(const FontFactory& factory)
{
    std::set<std::string> names;
    for (const FontFactory::FontInfo& info : factory.fonts) {
        std::string file = info.file.chars();
        names.insert(file.substr(file.rfind('\\') + 1));
    }
    return names;
}

enum class Outcome { font, noFont, notAFace };

// Loads a face at a small size the way the factory would and checks the result for consistency.
Outcome load(const std::string& path)
{
    File* file = File::open(path.c_str(), File::readAccess);
    Descriptor small;
    small.width = small.height = 8;
    Font* font = nullptr;
    try {
        font = Font::loadFont(small, *file);
    } catch (const FreetypeException&) {
        file->release();
        return Outcome::notAFace;
    }
    file->release();
    if (!font) {
        return Outcome::noFont;
    }
    for (const GlyphInfo& glyph : font->glyphs) {
        EXPECT_LE(glyph.x + glyph.width, font->atlas.width()) << path;
        EXPECT_LE(glyph.y + glyph.rows, font->atlas.height()) << path;
    }
    font->release();
    return Outcome::font;
}

// Offsets of count bytes in one of the tables of a font (or in its table directory), to be given
// random values: most damage then lands where FreeType parses rather than in glyph outlines.
std::vector<std::size_t> damageSites(const std::string& bytes, std::mt19937& random, int count)
{
    auto big = [&](std::size_t at, int size) {
        std::uint32_t value = 0;
        for (int i = 0; i < size; ++i) {
            value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
        }
        return value;
    };
    std::uint32_t tables = big(4, 2);
    std::uint32_t pick = random() % (tables + 1);
    std::size_t start = 0;
    std::size_t length = 12 + 16 * tables;
    if (pick < tables) {
        start = big(12 + 16 * pick + 8, 4);
        length = big(12 + 16 * pick + 12, 4);
    }
    std::vector<std::size_t> sites;
    for (int i = 0; i < count && length > 0; ++i) {
        sites.push_back(start + random() % length);
    }
    return sites;
}

// Writes the given byte values at the given offsets of a file.
void patch(const std::string& path, const std::vector<std::size_t>& sites, const std::string& values)
{
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    for (std::size_t i = 0; i < sites.size(); ++i) {
        file.seekp(static_cast<std::streamoff>(sites[i]));
        file.put(values[i]);
    }
}

} // namespace

TEST(HostileFonts, folderOfDamagedAndStrangeEntriesIsProbedWithoutLoss)
{
    TempFolder folder;
    copyFont(folder, "DejaVuSansMono.ttf", "good.ttf");
    std::string bytes = folder.read("good.ttf");
    folder.write("zero.ttf", "");
    for (std::size_t length : {4ul, 12ul, 200ul, 4096ul, bytes.size() / 2, bytes.size() - 1}) {
        folder.write("cut" + std::to_string(length) + ".ttf", bytes.substr(0, length));
    }
    std::mt19937 random(7);
    for (int i = 0; i < 8; ++i) {
        std::string flipped = bytes;
        for (int bit = 0; bit < 4; ++bit) {
            std::size_t at = random() % 4096;
            flipped[at] = static_cast<char>(flipped[at] ^ (1 << random() % 8));
        }
        folder.write("flipped" + std::to_string(i) + ".ttf", flipped);
    }
    std::string noise(20000, '\0');
    for (char& c : noise) {
        c = static_cast<char>(random());
    }
    folder.write("random.ttf", noise);
    copyFont(folder, "DejaVuSans.ttf", "locked.ttf");
    chmod((folder / "locked.ttf").c_str(), 0);
    fs::create_directory(folder / "x.ttf");
    ASSERT_EQ(mkfifo((folder / "fifo.ttf").c_str(), 0600), 0);
    fs::create_symlink(folder / "nowhere.ttf", folder / "dangling.ttf");
    fs::create_symlink(folder / "loop2.ttf", folder / "loop1.ttf");
    fs::create_symlink(folder / "loop1.ttf", folder / "loop2.ttf");
    fs::create_symlink(folder / "good.ttf", folder / "alias.ttf");
    copyFont(folder, "DejaVuSerif.ttf", "busy.ttf");
    std::map<std::string, std::string> before = contentsOf(folder);

    FontFactory factory;
    File* busy = File::open((folder / "busy.ttf").c_str(), File::readAccess);
    factory.scan(folder.path.c_str());
    busy->release();
    std::set<std::string> listed = namesOf(factory);
    EXPECT_TRUE(listed.count("good.ttf"));
    EXPECT_TRUE(listed.count("alias.ttf"));
    // A file in use elsewhere cannot be opened, and is missing until the next scan.
    EXPECT_FALSE(listed.count("busy.ttf"));
    // Only a process that may read anything (root) gets past the permissions.
    EXPECT_EQ(listed.count("locked.ttf"), access((folder / "locked.ttf").c_str(), R_OK) == 0 ? 1u : 0u);
    for (const char* name : {"zero.ttf", "cut4.ttf", "cut12.ttf", "cut200.ttf", "random.ttf",
                             "x.ttf", "fifo.ttf", "dangling.ttf", "loop1.ttf", "loop2.ttf"}) {
        EXPECT_FALSE(listed.count(name)) << name;
    }
    // Whatever was listed loads or fails with the font layer's own error.
    for (const std::string& name : listed) {
        if (name == "good.ttf" || name == "alias.ttf" || name == "locked.ttf") {
            EXPECT_EQ(load(folder / name), Outcome::font) << name;
        } else {
            load(folder / name);
        }
    }
    factory.scan(folder.path.c_str());
    EXPECT_TRUE(namesOf(factory).count("busy.ttf"));
    EXPECT_EQ(contentsOf(folder), before);
}

TEST(HostileFonts, thousandJunkFilesAreProbedQuickly)
{
    TempFolder folder;
    std::mt19937 random(11);
    for (int i = 0; i < 1000; ++i) {
        std::string junk(random() % 4096, '\0');
        for (char& c : junk) {
            c = static_cast<char>(random());
        }
        // A quarter start like a font file, so that FreeType reads on into the junk.
        if (i % 4 == 0 && junk.size() >= 4) {
            junk.replace(0, 4, std::string("\0\1\0\0", 4));
        }
        folder.write("junk" + std::to_string(i) + ".ttf", junk);
    }
    FontFactory factory;
    auto start = std::chrono::steady_clock::now();
    factory.scan(folder.path.c_str());
    // A hang guard, far above the time the probing takes.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(factory.fonts.count, 0u);
}

TEST(HostileFonts, mutatedFontsNeverBreakProbingOrLoading)
{
    TempFolder folder;
    std::string path = copyFont(folder, "DejaVuSansMono.ttf", "mutated.ttf");
    std::string bytes = folder.read("mutated.ttf");
    std::mt19937 random(2024);
    std::map<Outcome, int> outcomes;
    int probed = 0;
    for (int i = 0; i < 2000; ++i) {
        // Each round damages the pristine font in place and repairs it afterwards.
        std::vector<std::size_t> sites = damageSites(bytes, random, 1 + static_cast<int>(random() % 16));
        std::string values;
        std::string originals;
        for (std::size_t site : sites) {
            values.push_back(static_cast<char>(random()));
            originals.push_back(bytes[site]);
        }
        patch(path, sites, values);
        bool truncated = i % 10 == 0;
        if (truncated) {
            fs::resize_file(path, random() % bytes.size());
        }
        FontFactory factory;
        if (factory.addFont(path.c_str())) {
            ++probed;
            ++outcomes[load(path)];
        }
        if (truncated) {
            folder.write("mutated.ttf", bytes);
        } else {
            patch(path, sites, originals);
        }
    }
    // The damage must leave enough faces standing to exercise loading.
    EXPECT_GT(probed, 500);
    EXPECT_GT(outcomes[Outcome::font], 500);
}
