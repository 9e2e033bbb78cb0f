#include "freetype/Freetype.h"

#include <climits>

#include "io/File.h"

namespace vardel::freetype {

namespace {

// FreeType's read callback: count bytes from offset, or for a count of 0 a seek that returns 0 on
// success. No exception may cross FreeType's frames, so a failed seek becomes a failed read.
unsigned long readFile(FT_Stream stream, unsigned long offset, unsigned char* buffer, unsigned long count)
{
    auto* file = static_cast<io::File*>(stream->descriptor.pointer);
    try {
        if (offset > INT_MAX) {
            return count == 0 ? 1 : 0;
        }
        file->seek(static_cast<int>(offset), io::File::fromStart);
        if (count == 0) {
            return 0;
        }
        int got = file->read(buffer, count > INT_MAX ? INT_MAX : static_cast<int>(count));
        return got > 0 ? static_cast<unsigned long>(got) : 0;
    } catch (...) {
        return count == 0 ? 1 : 0;
    }
}

} // namespace

Freetype::Freetype() : library(nullptr)
{
    if (FT_Init_FreeType(&library) != 0) {
        library = nullptr;
    }
}

Freetype::~Freetype()
{
    if (library) {
        FT_Done_FreeType(library);
    }
}

Freetype& Freetype::instance()
{
    static Freetype freetype;
    return freetype;
}

Freetype::Lock::Lock()
{
    instance().mutex.lock();
}

Freetype::Lock::~Lock()
{
    instance().mutex.unlock();
}

Freetype::Face::Face(io::File& file) : face(nullptr), stream{}
{
    FT_Library library = instance().library;
    int size = file.size();
    if (!library || size <= 0) {
        return;
    }
    stream.size = static_cast<unsigned long>(size);
    stream.descriptor.pointer = &file;
    stream.read = readFile;
    // The owner of the file closes it: FreeType has nothing to close.
    stream.close = nullptr;
    FT_Open_Args arguments{};
    arguments.flags = FT_OPEN_STREAM;
    arguments.stream = &stream;
    if (FT_Open_Face(library, &arguments, 0, &face) != 0) {
        face = nullptr;
    }
}

Freetype::Face::~Face()
{
    if (face) {
        FT_Done_Face(face);
    }
}

} // namespace vardel::freetype
