#pragma once

#include "platform/posix/Kernel.h"

namespace vardel::platform::posix {

// The Win32 error code for an errno value (ENOENT -> ERROR_FILE_NOT_FOUND, ...); codes without a
// closer match become ERROR_INVALID_FUNCTION.
DWORD errorFromErrno(int error);

// Sets the calling thread's last error from an errno value and returns FALSE, for the common
// "fail with the system's reason" exit of a call.
BOOL failWithErrno(int error);

// Sets the calling thread's last error and returns FALSE.
BOOL fail(DWORD error);

} // namespace vardel::platform::posix
