#include "system/Signal.h"

namespace vardel::system {

Signal::Signal() : state(false), event(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

Signal::~Signal()
{
    CloseHandle(event);
}

void Signal::set()
{
    state = true;
    SetEvent(event);
}

void Signal::pulse()
{
    state = false;
    PulseEvent(event);
}

void Signal::reset()
{
    if (state) {
        ResetEvent(event);
        state = false;
    }
}

void Signal::wait()
{
    if (!state) {
        WaitForSingleObject(event, INFINITE);
    }
    if (state) {
        ResetEvent(event);
        state = false;
    }
}

bool Signal::isSet() const
{
    return state;
}

} // namespace vardel::system
