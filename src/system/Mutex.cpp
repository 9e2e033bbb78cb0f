#include "system/Mutex.h"

namespace vardel::system {

Mutex::Mutex()
{
    InitializeCriticalSection(&section);
}

Mutex::~Mutex()
{
    DeleteCriticalSection(&section);
}

bool Mutex::lock()
{
    EnterCriticalSection(&section);
    return true;
}

bool Mutex::unlock()
{
    LeaveCriticalSection(&section);
    return true;
}

} // namespace vardel::system
