#pragma once

#include <string>

#include "platform/x11/Desktop.h"

namespace vardel::platform::x11 {

// A registered window class. Classes live until the process ends.
class WindowClass {
public:
    // Registers a class; 0 with ERROR_CLASS_ALREADY_EXISTS when the name is taken.
    static ATOM add(const WNDCLASSEXA& description);
    // The class of a name (or of an atom given as MAKEINTATOM), or null.
    static const WindowClass* find(LPCSTR name);

    std::string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC procedure = nullptr;
    int extraBytes = 0;
    HINSTANCE instance = nullptr;
};

} // namespace vardel::platform::x11
