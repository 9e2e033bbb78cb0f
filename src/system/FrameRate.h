#pragma once

#include <cstdint>

#include "object/Object.h"
#include "types/String.h"

namespace vardel::system {

// Frames per second over the last second: the times of the frames drawn in it, kept in a ring.
class FrameRate : public object::Object {
    VARDEL_CLASS_PATH(object::Object, FrameRate)

    // More frames than this in one second are averaged over the last ones only.
    static constexpr int capacity = 256;

    FrameRate();

    // Notes a frame drawn at the time given in seconds, from any fixed start, never going back.
    void frame(double seconds);
    // Frames per second between the first and the last frame of the second before the last
    // frame; 0 until two frames fall in it.
    double perSecond() const;

private:
    double times[capacity];
    // Index of the oldest time kept, and how many are kept.
    int oldest;
    int count;
};

} // namespace vardel::system
