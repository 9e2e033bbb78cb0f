#include "freetype/Freetype.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "io/File.h"

namespace vardel::freetype {

namespace {

// Moves the file to offset from its start and reads count bytes into buffer; how many it read.
unsigned long readAt(io::File& file, unsigned long offset, unsigned char* buffer, unsigned long count)
{
    file.seek(static_cast<int>(offset), io::File::fromStart);
    int got = file.read(buffer, count > INT_MAX ? INT_MAX : static_cast<int>(count));
    return got > 0 ? static_cast<unsigned long>(got) : 0;
}

// FreeType's read callback: count bytes from offset, or for a count of 0 a seek that returns 0 on
// success. Every read positions the file itself, so a seek only checks the offset. No exception may
// cross FreeType's frames, so a failed seek becomes a failed read.
unsigned long readFile(FT_Stream stream, unsigned long offset, unsigned char* buffer, unsigned long count)
{
    using PageCache = Freetype::Face::PageCache;
    auto& cache = *static_cast<PageCache*>(stream->descriptor.pointer);
    try {
        if (count == 0) {
            return offset <= stream->size ? 0 : 1;
        }
        if (offset > INT_MAX) {
            return 0;
        }
        if (count > PageCache::pageSize * 2) {
            return readAt(*cache.file, offset, buffer, count);
        }
        unsigned long copied = 0;
        while (copied < count) {
            unsigned long position = offset + copied;
            unsigned long number = position / PageCache::pageSize;
            PageCache::Page& page = cache.pages[number % PageCache::slots];
            if (page.number != number) {
                // Marked empty first, so that a read that throws leaves no stale page behind.
                page.number = ~0ul;
                page.length = readAt(*cache.file, number * PageCache::pageSize, page.bytes, PageCache::pageSize);
                page.number = number;
            }
            unsigned long within = position - number * PageCache::pageSize;
            if (within >= page.length) {
                break;
            }
            unsigned long part = std::min(count - copied, page.length - within);
            std::memcpy(buffer + copied, page.bytes + within, part);
            copied += part;
        }
        return copied;
    } catch (...) {
        return 0;
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
    cache = std::make_unique<PageCache>();
    cache->file = &file;
    for (PageCache::Page& page : cache->pages) {
        page.number = ~0ul;
    }
    stream.descriptor.pointer = cache.get();
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
