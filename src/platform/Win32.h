#pragma once

// The one header through which framework code reaches the Win32 calls it uses. On Windows it is
// the system's own; elsewhere it is our subset, declared by area.
#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>
#else
#include "platform/posix/Types.h"
#include "platform/posix/Kernel.h"
#include "platform/posix/Files.h"
#include "platform/posix/Messages.h"
#include "platform/x11/Desktop.h"
#endif
