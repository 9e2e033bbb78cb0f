#pragma once

#include "io/Stream.h"

namespace vardel::io {

// A source of bytes.
class InputStream : public Stream {
    VARDEL_CLASS_PATH(Stream, InputStream)

    // Reading
    // Reads at most count bytes; returns how many were read.
    virtual int read(void* buffer, int count) = 0;
    // Moves count bytes ahead; returns how far it moved.
    virtual int skip(int count) = 0;
    virtual int available() = 0;

    // Closing
    virtual bool close() = 0;
};

} // namespace vardel::io
