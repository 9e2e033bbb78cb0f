#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include "system/Mutex.h"

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

    private:
        // FreeType keeps a pointer to this record for the life of the face.
        FT_StreamRec stream;
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
