#include "freetype/Descriptor.h"
#include "freetype/Font.h"
#include "freetype/FontFactory.h"
#include "freetype/FreetypeException.h"
#include "io/SystemFile.h"
#include "support/FontFiles.h"

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

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace vardel::freetype;
using vardel::io::File;
namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
// No permission bits here: every file can be read.
bool readable(const fs::path&)
{
    return true;
}
#else
bool readable(const fs::path& path)
{
    return access(path.c_str(), R_OK) == 0;
}
#endif

// Every readable regular file of a folder with its contents.
std::map<std::string, std::string> contentsOf(const TempFolder& folder)
{
    std::map<std::string, std::string> contents;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder.path)) {
        std::error_code looping;
        if (entry.is_regular_file(looping) && readable(entry.path())) {
            std::string name = entry.path().filename().string();
            contents[name] = folder.read(name);
        }
    }
    return contents;
}

std::string randomBytes(std::mt19937& random, std::size_t count)
{
    std::string bytes(count, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random());
    }
    return bytes;
}

// Loads a face at 8 pixels; true when that gives a font, whose records must then lie in its atlas.
// The font layer's own exception is the only other outcome allowed.
bool loads(const std::string& path)
{
    File* file = File::open(path.c_str(), File::readAccess);
    Descriptor small;
    small.width = small.height = 8;
    Font* font = nullptr;
    try {
        font = Font::loadFont(small, *file);
    } catch (const FreetypeException&) {
    }
    file->release();
    if (!font) {
        return false;
    }
    for (const GlyphInfo& glyph : font->glyphs) {
        EXPECT_LE(glyph.x + glyph.width, font->atlas.width()) << path;
        EXPECT_LE(glyph.y + glyph.rows, font->atlas.height()) << path;
    }
    font->release();
    return true;
}

} // namespace

TEST(HostileFonts, folderOfDamagedAndStrangeEntriesIsProbedWithoutLoss)
{
    TempFolder folder;
    std::string bytes = folder.read(fs::path(copyFont(folder, "DejaVuSansMono.ttf", "good.ttf")).filename().string());
    folder.write("zero.ttf", "");
    for (std::size_t length : std::vector<std::size_t>{4, 12, 200, 4096, bytes.size() / 2, bytes.size() - 1}) {
        folder.write("cut" + std::to_string(length) + ".ttf", bytes.substr(0, length));
    }
    std::mt19937 random(7);
    for (int i = 0; i < 8; ++i) {
        std::string flipped = bytes;
        for (int bit = 0; bit < 4; ++bit) {
            flipped[random() % 4096] ^= static_cast<char>(1 << random() % 8);
        }
        folder.write("flipped" + std::to_string(i) + ".ttf", flipped);
    }
    folder.write("random.ttf", randomBytes(random, 20000));
    fs::create_directory(folder / "x.ttf");
    std::vector<std::string> good = {"good.ttf"};
    std::vector<std::string> unlisted = {"busy.ttf", "zero.ttf", "cut4.ttf", "cut12.ttf", "cut200.ttf", "random.ttf",
                                         "x.ttf"};
#ifndef _WIN32
    // Permission bits, pipes and symbolic links are POSIX file system things.
    copyFont(folder, "DejaVuSans.ttf", "locked.ttf");
    chmod((folder / "locked.ttf").c_str(), 0);
    ASSERT_EQ(mkfifo((folder / "fifo.ttf").c_str(), 0600), 0);
    fs::create_symlink(folder / "nowhere.ttf", folder / "dangling.ttf");
    fs::create_symlink(folder / "loop2.ttf", folder / "loop1.ttf");
    fs::create_symlink(folder / "loop1.ttf", folder / "loop2.ttf");
    fs::create_symlink(folder / "good.ttf", folder / "alias.ttf");
    good.push_back("alias.ttf");
    unlisted.insert(unlisted.end(), {"fifo.ttf", "dangling.ttf", "loop1.ttf", "loop2.ttf"});
#endif
    copyFont(folder, "DejaVuSerif.ttf", "busy.ttf");
    std::map<std::string, std::string> before = contentsOf(folder);

    FontFactory factory;
    File* busy = File::open((folder / "busy.ttf").c_str(), File::readAccess);
    factory.scan(folder.path.c_str());
    busy->release();
    std::set<std::string> listed;
    for (const FontFactory::FontInfo& info : factory.fonts) {
        listed.insert(nameOf(info));
    }
    for (const std::string& name : good) {
        EXPECT_TRUE(listed.count(name) && loads(folder / name)) << name;
    }
#ifndef _WIN32
    // Only a process that may read anything (root) gets past the permissions.
    EXPECT_EQ(listed.count("locked.ttf"), readable(folder / "locked.ttf") ? 1u : 0u);
#endif
    // A file in use elsewhere cannot be opened and is missing until the next scan.
    for (const std::string& name : unlisted) {
        EXPECT_FALSE(listed.count(name)) << name;
    }
    // Whatever damaged file was listed loads or fails with the font layer's own error.
    for (const std::string& name : listed) {
        loads(folder / name);
    }
    factory.scan(folder.path.c_str());
    EXPECT_EQ(factory.fonts.count, listed.size() + 1);
    EXPECT_EQ(contentsOf(folder), before);
}

TEST(HostileFonts, thousandJunkFilesAreProbedQuickly)
{
    TempFolder folder;
    std::mt19937 random(11);
    for (int i = 0; i < 1000; ++i) {
        std::string junk = randomBytes(random, 4 + random() % 4096);
        // A quarter start like a font file, so that FreeType reads on into the junk.
        if (i % 4 == 0) {
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
    const std::string bytes = folder.read("mutated.ttf");
    auto big = [&](std::size_t at, int size) {
        std::uint32_t value = 0;
        for (int i = 0; i < size; ++i) {
            value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
        }
        return value;
    };
    std::uint32_t tables = big(4, 2);
    std::mt19937 random(2024);
    int probed = 0;
    int loaded = 0;
    for (int i = 0; i < 2000; ++i) {
        // Damage lands in one table or in the table directory, where FreeType parses rather than
        // draws. Each round damages the pristine font in place and repairs it afterwards.
        std::uint32_t table = random() % (tables + 1);
        std::size_t start = table < tables ? big(12 + 16 * table + 8, 4) : 0;
        std::size_t length = table < tables ? big(12 + 16 * table + 12, 4) : 12 + 16 * tables;
        // The factory opens files exclusively: the test's own streams are closed while it probes.
        std::vector<std::size_t> sites(1 + random() % 16);
        {
            std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
            for (std::size_t& site : sites) {
                site = start + random() % std::max<std::size_t>(length, 1);
                file.seekp(static_cast<std::streamoff>(site));
                file.put(static_cast<char>(random()));
            }
        }
        if (i % 10 == 0) {
            fs::resize_file(path, random() % bytes.size());
        }
        FontFactory factory;
        if (factory.addFont(path.c_str())) {
            ++probed;
            loaded += loads(path);
        }
        if (i % 10 == 0) {
            folder.write("mutated.ttf", bytes);
        } else {
            std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
            for (std::size_t site : sites) {
                file.seekp(static_cast<std::streamoff>(site));
                file.put(bytes[site]);
            }
        }
    }
    // The damage must leave enough faces standing to exercise loading.
    EXPECT_GT(probed, 500);
    EXPECT_GT(loaded, 500);
}
