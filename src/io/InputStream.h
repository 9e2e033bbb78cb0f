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
    // How many bytes can be read now without waiting.
    virtual int available() = 0;

    // Closing
    // Ends the stream's use; false when there was nothing to close.
    virtual bool close() = 0;
};

} // namespace vardel::io
