#pragma once

#include "io/Stream.h"

namespace vardel::io {

// A sink of bytes.
class OutputStream : public Stream {
    VARDEL_CLASS_PATH(Stream, OutputStream)

    // Writing
    // Writes at most count bytes; returns how many were written.
    virtual int write(const void* buffer, int count) = 0;
    // Passes on what the stream holds back; true on success.
    virtual bool flush() = 0;

    // Closing
    // Ends the stream's use; false when there was nothing to close.
    virtual bool close() = 0;
};

} // namespace vardel::io
