#include "platform/posix/LastError.h"

#include <cerrno>

namespace {

thread_local DWORD lastError = ERROR_SUCCESS;

} // namespace

namespace vardel::platform::posix {

DWORD errorFromErrno(int error)
{
    switch (error) {
    case 0:
        return ERROR_SUCCESS;
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case EACCES:
    case EPERM:
    case EISDIR:
        return ERROR_ACCESS_DENIED;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EROFS:
        return ERROR_WRITE_PROTECT;
    case ENOSPC:
    case EDQUOT:
        return ERROR_DISK_FULL;
    case EEXIST:
        return ERROR_FILE_EXISTS;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    case ESPIPE:
        return ERROR_SEEK;
    case EPIPE:
        return ERROR_BROKEN_PIPE;
    case ENOTEMPTY:
        return ERROR_DIR_NOT_EMPTY;
    case EBUSY:
    case ETXTBSY:
        return ERROR_BUSY;
    case ETIMEDOUT:
        return ERROR_TIMEOUT;
    case ENOSYS:
    case ENOTSUP:
        return ERROR_NOT_SUPPORTED;
    case EIO:
        return ERROR_READ_FAULT;
    default:
        return ERROR_INVALID_FUNCTION;
    }
}

BOOL failWithErrno(int error)
{
    return fail(errorFromErrno(error));
}

BOOL fail(DWORD error)
{
    lastError = error;
    return FALSE;
}

} // namespace vardel::platform::posix

DWORD WINAPI GetLastError()
{
    return lastError;
}

void WINAPI SetLastError(DWORD error)
{
    lastError = error;
}
