#include "system/FrameRate.h"

namespace vardel::system {

FrameRate::FrameRate() : times{}, oldest(0), count(0) {}

void FrameRate::frame(double seconds)
{
    if (count == capacity) {
        oldest = (oldest + 1) % capacity;
        --count;
    }
    times[(oldest + count) % capacity] = seconds;
    ++count;
    while (count > 1 && seconds - times[oldest] > 1.0) {
        oldest = (oldest + 1) % capacity;
        --count;
    }
}

double FrameRate::perSecond() const
{
    if (count < 2) {
        return 0;
    }
    double span = times[(oldest + count - 1) % capacity] - times[oldest];
    return span > 0 ? (count - 1) / span : 0;
}

} // namespace vardel::system
