#include "graphics3d/LightStack.h"

#include "platform/OpenGL.h"
#include "graphics3d/Light.h"

namespace vardel::graphics3d {

LightStack::LightStack() : slots{} {}

void LightStack::set(int slot, Light* light)
{
    Light* outgoing = slots[slot];
    if (light == outgoing)
        return;
    slots[slot] = light;
    if (!light) {
        glDisable(GL_LIGHT0 + slot);
        return;
    }
    if (!outgoing)
        glEnable(GL_LIGHT0 + slot);
    light->apply(slot);
}

void LightStack::remove(Light* light)
{
    for (int i = 0; i < slotCount; ++i) {
        if (slots[i] == light) {
            slots[i] = nullptr;
            glDisable(GL_LIGHT0 + i);
        }
    }
}

} // namespace vardel::graphics3d
