#pragma once

#include "object/Object.h"
#include "types/String.h"

namespace vardel::io {

// Root of the byte streams.
class Stream : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Stream)
};

} // namespace vardel::io
