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

    HWND handle;
    HDC deviceContext;
};

} // namespace vardel::gui
