#pragma once

#include "platform/x11/Desktop.h"

namespace vardel::platform::x11 {

// The virtual-key codes of X key symbols, for a US layout.
class Keyboard {
public:
    struct Key {
        // The code key messages carry (VK_SHIFT for either Shift key); 0 for keys without one.
        BYTE code;
        // The left or right variant (VK_LSHIFT, ...), or 0.
        BYTE side;
    };

    static Key fromKeysym(unsigned long keysym);
};

} // namespace vardel::platform::x11
