#include "freetype/FontFactory.h"

#include <memory>

#include "freetype/Descriptor.h"
#include "freetype/Font.h"
#include "freetype/FormatException.h"
#include "freetype/Freetype.h"
#include "freetype/NoMatchException.h"
#include "io/Directory.h"
#include "io/SystemFile.h"

namespace vardel::freetype {

namespace {

// Gives back the opener's reference on a file however its use ends, which also closes it.
struct Release {
    void operator()(io::File* file) const { file->release(); }
};
using OpenFile = std::unique_ptr<io::File, Release>;

// Fonts are only read: other programs, and other starts of this one, read them at the same time.
constexpr unsigned fontAccess = io::File::readAccess | io::File::shareReading;

types::String lowerCase(const char* name)
{
    return types::String(name ? name : "").toLowerCase();
}

} // namespace

FontFactory::FontFactory()
{
    scan(".");
}

void FontFactory::scan(const char* path)
{
    directory = path;
    if (directory.length > 0 && directory.chars()[directory.length - 1] != '\\') {
        directory += "\\";
    }
    fonts.clear();
    io::Directory listing;
    listing.scan((directory + "*").chars());
    for (const io::DirectoryNode& node : listing.nodes) {
        if (!(node.findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            addFont((directory + node.findData.cFileName).chars());
        }
    }
}

bool FontFactory::addFont(const char* file)
{
    FontInfo info;
    {
        Freetype::Lock lock;
        OpenFile stream;
        try {
            stream.reset(io::File::open(file, fontAccess));
        } catch (...) {
            return false;
        }
        Freetype::Face opened(*stream);
        if (!opened.face) {
            return false;
        }
        info.file = file;
        info.family = lowerCase(opened.face->family_name);
        info.style = lowerCase(opened.face->style_name);
    }
    fonts.resize(fonts.count + 1);
    fonts[fonts.count - 1] = info;
    return true;
}

Font* FontFactory::createFont(const Descriptor& descriptor)
{
    types::String family = descriptor.family.toLowerCase();
    types::String style = descriptor.style.toLowerCase();
    const FontInfo* chosen = nullptr;
    int best = 0;
    for (const FontInfo& info : fonts) {
        int score = (info.family == family ? 100 : 0) + (info.style == style ? 50 : 0);
        if (score >= best) {
            best = score;
            chosen = &info;
        }
    }
    if (!chosen) {
        throw NoMatchException();
    }
    Font* font;
    {
        Freetype::Lock lock;
        OpenFile stream(io::File::open(chosen->file.chars(), fontAccess));
        font = Font::loadFont(descriptor, *stream);
    }
    if (!font) {
        throw FormatException();
    }
    return font;
}

} // namespace vardel::freetype
