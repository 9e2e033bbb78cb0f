#pragma once

#include "object/Object.h"
#include "types/String.h"

namespace vardel::io {

class InputStream;
class OutputStream;

// Something that hands out an input and an output stream over itself.
class StreamFactory : public object::Object {
    VARDEL_CLASS_PATH(object::Object, StreamFactory)

    // Streams
    // A stream that reads from this object.
    virtual InputStream* inputStream() = 0;
    // A stream that writes to this object.
    virtual OutputStream* outputStream() = 0;
};

} // namespace vardel::io
