#include "platform/posix/Handle.h"

#include <mutex>
#include <unordered_set>

#include "platform/posix/ThreadContext.h"
#include "platform/posix/ThreadRecord.h"

namespace vardel::platform::posix {

namespace {

// One open handle. HANDLE values are the addresses of these slots.
struct Slot {
    std::shared_ptr<HandleRecord> record;
};

// Never destroyed: handles may be closed by static destructors and threads still running at exit.
struct HandleTable {
    std::mutex mutex;
    std::unordered_set<Slot*> open;
};

HandleTable& table()
{
    static HandleTable* handles = new HandleTable;
    return *handles;
}

HANDLE const currentProcess = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));
HANDLE const currentThread = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-2));

bool closeSlot(HANDLE handle)
{
    Slot* slot = static_cast<Slot*>(handle);
    {
        std::lock_guard lock(table().mutex);
        if (table().open.erase(slot) == 0) {
            return false;
        }
    }
    // The record's destructor may block (a file flush), so it runs outside the table lock.
    delete slot;
    return true;
}

} // namespace

DWORD HandleRecord::wait(const Deadline&)
{
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
}

HANDLE openHandle(std::shared_ptr<HandleRecord> record)
{
    Slot* slot = new Slot{std::move(record)};
    std::lock_guard lock(table().mutex);
    table().open.insert(slot);
    return slot;
}

std::shared_ptr<HandleRecord> findHandle(HANDLE handle)
{
    if (handle == currentThread) {
        return ThreadContext::current().record();
    }
    {
        std::lock_guard lock(table().mutex);
        auto found = table().open.find(static_cast<Slot*>(handle));
        if (found != table().open.end()) {
            return (*found)->record;
        }
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

} // namespace vardel::platform::posix

using namespace vardel::platform::posix;

BOOL WINAPI CloseHandle(HANDLE object)
{
    if (object == currentThread || object == currentProcess) {
        return TRUE;
    }
    return closeSlot(object) ? TRUE : fail(ERROR_INVALID_HANDLE);
}

DWORD WINAPI WaitForSingleObject(HANDLE object, DWORD milliseconds)
{
    std::shared_ptr<HandleRecord> record = findHandle(object);
    if (!record) {
        return WAIT_FAILED;
    }
    return record->wait(Deadline::after(milliseconds));
}

BOOL WINAPI DuplicateHandle(HANDLE sourceProcess, HANDLE source, HANDLE targetProcess, LPHANDLE target,
                            DWORD, BOOL, DWORD options)
{
    if (sourceProcess != currentProcess || targetProcess != currentProcess || !target) {
        return fail(ERROR_INVALID_PARAMETER);
    }
    std::shared_ptr<HandleRecord> record = findHandle(source);
    if (!record) {
        return FALSE;
    }
    *target = openHandle(std::move(record));
    if (options & DUPLICATE_CLOSE_SOURCE) {
        CloseHandle(source);
    }
    return TRUE;
}

HANDLE WINAPI GetCurrentProcess()
{
    return currentProcess;
}

HANDLE WINAPI GetCurrentThread()
{
    return currentThread;
}
