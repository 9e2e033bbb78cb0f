#pragma once

#include "platform/posix/Types.h"

// Kernel services of the subset: handles, waiting, events, threads, critical sections,
// thread-local storage, waitable timers, sleeping and the last error.

// Handles and waiting

BOOL WINAPI CloseHandle(HANDLE object);
// Events, threads and waitable timers. Time-outs are measured on a monotonic clock and never
// end early; INFINITE waits without a time limit.
DWORD WINAPI WaitForSingleObject(HANDLE object, DWORD milliseconds);
BOOL WINAPI DuplicateHandle(HANDLE sourceProcess, HANDLE source, HANDLE targetProcess, LPHANDLE target,
                            DWORD desiredAccess, BOOL inheritHandle, DWORD options);

// Events

// A named event is shared within the process: creating one under a name already in use opens the
// existing event (its reset mode and state are kept) with ERROR_ALREADY_EXISTS. Events and waitable
// timers share one namespace; other processes do not see these names.
HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState,
                           LPCSTR name);
BOOL WINAPI SetEvent(HANDLE event);
BOOL WINAPI ResetEvent(HANDLE event);
// Releases the threads waiting at this moment (one of them for an auto-reset event) and leaves
// the event unsignalled. A pulse with nobody waiting is lost.
BOOL WINAPI PulseEvent(HANDLE event);

// Threads

HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize,
                           LPTHREAD_START_ROUTINE routine, LPVOID parameter, DWORD flags, LPDWORD threadId);
DWORD WINAPI ResumeThread(HANDLE thread);
// Pseudo-handles: valid only on the calling thread and only for this process; DuplicateHandle
// turns the thread's into a real handle.
HANDLE WINAPI GetCurrentThread();
HANDLE WINAPI GetCurrentProcess();
// Unique for the life of the process and never 0.
DWORD WINAPI GetCurrentThreadId();
void WINAPI Sleep(DWORD milliseconds);

// Critical sections (recursive)

void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION section);
void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION section);
void WINAPI EnterCriticalSection(LPCRITICAL_SECTION section);
void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION section);

// Thread-local storage. An index that TlsAlloc did not hand out (or that was freed) fails with
// ERROR_INVALID_PARAMETER; TlsGetValue sets ERROR_SUCCESS when it succeeds, since null is a value.

DWORD WINAPI TlsAlloc();
BOOL WINAPI TlsFree(DWORD index);
LPVOID WINAPI TlsGetValue(DWORD index);
BOOL WINAPI TlsSetValue(DWORD index, LPVOID value);

// Waitable timers

// Named like events (see CreateEventA).
HANDLE WINAPI CreateWaitableTimerA(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, LPCSTR name);
// A negative due time is relative, in 100-nanosecond units; a positive one is an absolute
// FILETIME. After the first expiry the timer expires every period milliseconds (0: once). An
// auto-reset timer releases one wait per expiry and remembers at most one expiry that nobody
// waited for. The completion routine is not supported and must be null.
BOOL WINAPI SetWaitableTimer(HANDLE timer, const LARGE_INTEGER* dueTime, LONG period,
                             PTIMERAPCROUTINE completionRoutine, LPVOID argument, BOOL resume);
// Disarms the timer; its signalled state is left as it is.
BOOL WINAPI CancelWaitableTimer(HANDLE timer);

// Last error (per thread)

DWORD WINAPI GetLastError();
void WINAPI SetLastError(DWORD error);
