#pragma once

#include <memory>

#include "platform/posix/Deadline.h"
#include "platform/posix/LastError.h"

namespace vardel::platform::posix {

// Common base of the kernel objects a HANDLE can refer to (events, threads, waitable timers; files
// and directory searches are further kinds). A HANDLE points to a slot of the handle table that
// holds a shared reference to its record, so DuplicateHandle gives a second slot on the same record
// and CloseHandle frees one slot; the record itself is destroyed, and its resources released by its
// destructor, when the last handle is closed and no wait is still using it.
class HandleRecord {
public:
    virtual ~HandleRecord() = default;

    // Blocks until the object is signalled (consuming the signal of an auto-reset object) or the
    // deadline passes. Kinds that cannot be waited on fail with ERROR_INVALID_HANDLE.
    virtual DWORD wait(const Deadline& deadline);
};

// A new handle on record.
HANDLE openHandle(std::shared_ptr<HandleRecord> record);

// The record behind an open handle (the calling thread's own for GetCurrentThread()), or null
// with ERROR_INVALID_HANDLE set when the handle is not open.
std::shared_ptr<HandleRecord> findHandle(HANDLE handle);

// The record behind handle if it is of kind T; otherwise null with ERROR_INVALID_HANDLE set.
template <typename T>
std::shared_ptr<T> findHandle(HANDLE handle)
{
    std::shared_ptr<T> record = std::dynamic_pointer_cast<T>(findHandle(handle));
    if (!record) {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return record;
}

} // namespace vardel::platform::posix
