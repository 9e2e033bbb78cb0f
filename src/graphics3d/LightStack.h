#pragma once

#include "object/Object.h"
#include "types/String.h"

namespace vardel::graphics3d {

class Light;

// The light in each of OpenGL's eight light slots: slot i is GL_LIGHT0 + i. The pointers are
// observers: a light clears its slots when destroyed.
class LightStack : public object::Object {
    VARDEL_CLASS_PATH(object::Object, LightStack)

    // OpenGL's light slots.
    static constexpr int slotCount = 8;

    LightStack();

    // Unless the light is already in the slot: records it, enables the OpenGL light when the slot
    // was empty and applies the light. The outgoing light is not told. Null empties the slot and
    // disables its OpenGL light.
    void set(int slot, Light* light);
    // Empties and disables every slot holding the light.
    void remove(Light* light);

    // The light in each slot, or null.
    Light* slots[slotCount];
};

} // namespace vardel::graphics3d
