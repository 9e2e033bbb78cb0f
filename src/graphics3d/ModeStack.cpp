#include "graphics3d/ModeStack.h"

#include "graphics3d/Mode.h"

namespace vardel::graphics3d {

ModeStack::ModeStack() : current(nullptr) {}

void ModeStack::set(Mode* mode)
{
    if (mode == current)
        return;
    Mode* outgoing = current;
    current = mode;
    if (outgoing)
        outgoing->leave();
    if (mode)
        mode->enter();
}

void ModeStack::remove(Mode* mode)
{
    if (current == mode)
        current = nullptr;
}

} // namespace vardel::graphics3d
