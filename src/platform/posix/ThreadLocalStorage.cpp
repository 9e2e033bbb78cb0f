#include <cerrno>

#include <pthread.h>

#include "platform/posix/LastError.h"

using namespace vardel::platform::posix;

// Slots are pthread keys; a key is an unsigned int, which fits the DWORD index.

DWORD WINAPI TlsAlloc()
{
    pthread_key_t key;
    int error = pthread_key_create(&key, nullptr);
    if (error != 0 || key == TLS_OUT_OF_INDEXES) {
        fail(ERROR_NOT_ENOUGH_MEMORY);
        return TLS_OUT_OF_INDEXES;
    }
    return key;
}

BOOL WINAPI TlsFree(DWORD index)
{
    int error = pthread_key_delete(index);
    return error == 0 ? TRUE : failWithErrno(error);
}

LPVOID WINAPI TlsGetValue(DWORD index)
{
    // A null value is a valid one, so success is told apart by the last error.
    SetLastError(ERROR_SUCCESS);
    return pthread_getspecific(index);
}

BOOL WINAPI TlsSetValue(DWORD index, LPVOID value)
{
    int error = pthread_setspecific(index, value);
    return error == 0 ? TRUE : failWithErrno(error);
}
