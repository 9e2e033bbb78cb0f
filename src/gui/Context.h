#pragma once

#include "platform/Win32.h"
#include "object/Object.h"
#include "types/String.h"

namespace vardel::gui {

// What a paint hook draws with: the native window and its device context, both null while the
// window is closed.
class Context : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Context)

    Context() : handle(nullptr), deviceContext(nullptr) {}

    // The native window, or null while it is closed.
    HWND handle;
    // The window's device context, or null while it is closed.
    HDC deviceContext;
};

} // namespace vardel::gui
