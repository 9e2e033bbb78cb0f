#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include "system/Mutex.h"

#include <memory>

namespace vardel::io {
class File;
}

namespace vardel::freetype {

// The process-wide FreeType library and the one lock that serialises every call into it and every
// use of a face. Made on first use, so before the first font, and released at exit.
class Freetype {
public:
    // Holds the lock for its lifetime.
    class Lock {
    public:
        Lock();
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;
    };

    // Face 0 of a file, read through the file itself; closed with this object. Made and used only
    // while a Lock is held.
    class Face {
    public:
        explicit Face(io::File& file);
        ~Face();
        Face(const Face&) = delete;
        Face& operator=(const Face&) = delete;

        // Null when FreeType cannot read the file as a font.
        FT_Face face;

        // Pages of the file kept for FreeType's many small reads, each of which would otherwise be a
        // seek and a read of the system. A page goes in the slot of its number modulo the count,
        // which keeps apart the two or three tables that glyph loading reads by turns.
        struct PageCache {
            static constexpr unsigned long pageSize = 4096;
            static constexpr int slots = 16;

            struct Page {
                // ~0 for a slot not yet filled.
                unsigned long number;
                unsigned long length;
                unsigned char bytes[pageSize];
            };

            io::File* file;
            Page pages[slots];
        };

    private:
        // FreeType keeps a pointer to this record for the life of the face.
        FT_StreamRec stream;
        std::unique_ptr<PageCache> cache;
    };

private:
    Freetype();
    ~Freetype();

    static Freetype& instance();

    // The lock is made before the library and outlives it.
    system::Mutex mutex;
    // Null when FreeType could not start: then no file opens as a face.
    FT_Library library;
};

} // namespace vardel::freetype
