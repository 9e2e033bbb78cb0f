#pragma once

#include "object/Object.h"
#include "types/String.h"

#include <cstdint>

namespace vardel::io {

// A point in time as the file system reports it: 100-nanosecond intervals since
// 1 January 1601, UTC.
class Timestamp : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Timestamp)

    Timestamp() : time(0) {}
    // The point time intervals after the start of 1601.
    explicit Timestamp(std::uint64_t time) : time(time) {}

    // 100-nanosecond intervals since 1 January 1601, UTC.
    std::uint64_t time;
};

} // namespace vardel::io
