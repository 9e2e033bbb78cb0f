#include <atomic>
#include <cerrno>
#include <climits>

#include <pthread.h>

#include "platform/posix/LastError.h"

using namespace vardel::platform::posix;

// Slots are pthread keys; a key is an unsigned int below PTHREAD_KEYS_MAX, which fits the DWORD
// index. The keys handed out here are marked, so that an index TlsAlloc never gave (or a key some
// library made for itself) is refused rather than looked up.

namespace {

std::atomic<bool> allocated[PTHREAD_KEYS_MAX];

bool isAllocated(DWORD index)
{
    return index < PTHREAD_KEYS_MAX && allocated[index].load(std::memory_order_relaxed);
}

} // namespace

DWORD WINAPI TlsAlloc()
{
    pthread_key_t key;
    int error = pthread_key_create(&key, nullptr);
    if (error == 0 && key >= PTHREAD_KEYS_MAX) {
        pthread_key_delete(key);
        error = EAGAIN;
    }
    if (error != 0) {
        fail(ERROR_NOT_ENOUGH_MEMORY);
        return TLS_OUT_OF_INDEXES;
    }
    allocated[key] = true;
    return key;
}

BOOL WINAPI TlsFree(DWORD index)
{
    if (!isAllocated(index)) {
        return fail(ERROR_INVALID_PARAMETER);
    }
    allocated[index] = false;
    int error = pthread_key_delete(index);
    return error == 0 ? TRUE : failWithErrno(error);
}

LPVOID WINAPI TlsGetValue(DWORD index)
{
    if (!isAllocated(index)) {
        fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // A null value is a valid one, so success is told apart by the last error.
    SetLastError(ERROR_SUCCESS);
    return pthread_getspecific(index);
}

BOOL WINAPI TlsSetValue(DWORD index, LPVOID value)
{
    if (!isAllocated(index)) {
        return fail(ERROR_INVALID_PARAMETER);
    }
    int error = pthread_setspecific(index, value);
    return error == 0 ? TRUE : failWithErrno(error);
}
