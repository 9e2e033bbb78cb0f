#pragma once

#include "object/Object.h"
#include "types/String.h"

namespace vardel::graphics3d {

class Mode;

// The mode last entered. The pointer is an observer: a mode clears it when destroyed.
class ModeStack : public object::Object {
    VARDEL_CLASS_PATH(object::Object, ModeStack)

    ModeStack();

    // Unless the mode is the current one: records it, then leaves the outgoing mode and enters the
    // new one (either may be null).
    void set(Mode* mode);
    // Forgets a mode that is being destroyed, without touching OpenGL.
    void remove(Mode* mode);

    // The mode last entered, or null.
    Mode* current;
};

} // namespace vardel::graphics3d
