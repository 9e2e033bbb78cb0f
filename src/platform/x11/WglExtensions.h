#pragma once

#include "platform/x11/Desktop.h"

namespace vardel::platform::x11 {

class GlContext;

// The WGL extensions of the layer: the extension strings, and swap control where the X server's
// GLX has a swap-control extension that can also turn it off.
class WglExtensions {
public:
    // The WGL function called name if context offers it, else null.
    static PROC entryPoint(const GlContext& context, const char* name);
};

} // namespace vardel::platform::x11
