#include "system/Thread.h"

#include "container/Chain.h"
#include "system/Mutex.h"

namespace vardel::system {

namespace {

// The thread registry. Its parts are made in this order, on first use: the chain of threads,
// the mutex guarding it, then the thread-local slot; the static initialiser below then adopts the
// main thread, before main. The registry is never destroyed: threads the program left running
// may still end, and remove themselves, while the process exits.
struct Registry {
    container::Chain<Thread> threads;
    Mutex threadsMutex;
    DWORD currentThreadSlot = TlsAlloc();
};

Registry& registry()
{
    static Registry* made = new Registry;
    return *made;
}

[[maybe_unused]] Thread* const mainThread = Thread::current();

void enter(Thread* thread)
{
    Registry& threads = registry();
    threads.threadsMutex.lock();
    threads.threads.append(thread);
    threads.threadsMutex.unlock();
}

void leave(Thread* thread)
{
    Registry& threads = registry();
    threads.threadsMutex.lock();
    threads.threads.remove(thread);
    threads.threadsMutex.unlock();
}

} // namespace

Thread::Thread()
    : threadHandle(nullptr), threadId(0), ownHandle(nullptr), bodyReached(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
}

Thread::~Thread()
{
    Registry& threads = registry();
    threads.threadsMutex.lock();
    if (chain) {
        // Unlinked as remove() does, but the hold it drops is the one just taken.
        retain();
        threads.threads.remove(this);
    }
    threads.threadsMutex.unlock();
    if (ownHandle) {
        CloseHandle(ownHandle);
    }
    CloseHandle(bodyReached);
}

bool Thread::run()
{
    return true;
}

bool Thread::start(bool wait)
{
    if (threadHandle) {
        return true;
    }
    if (ownHandle) {
        // A thread of an earlier start may still be between its body and its end.
        WaitForSingleObject(ownHandle, INFINITE);
        CloseHandle(ownHandle);
        ownHandle = nullptr;
    }
    retain();
    enter(this);
    startedSignal.reset();
    ResetEvent(bodyReached);

    DWORD id = 0;
    HANDLE handle = CreateThread(nullptr, 0, startRoutine, this, CREATE_SUSPENDED, &id);
    if (!handle) {
        leave(this);
        release();
        return false;
    }
    ownHandle = handle;
    threadHandle = handle;
    threadId = id;
    ResumeThread(handle);
    if (wait && !startedSignal.isSet()) {
        WaitForSingleObject(bodyReached, INFINITE);
    }
    return true;
}

bool Thread::join()
{
    DWORD id = threadId;
    if (id != 0 && id == GetCurrentThreadId()) {
        return false;
    }
    if (!startedSignal.isSet()) {
        // A body that has returned leaves its thread a few steps from the end; waiting for them
        // lets the caller destroy this object safely. A thread still starting, or adopted, keeps
        // its handle and is not waited for.
        if (ownHandle && !threadHandle) {
            WaitForSingleObject(ownHandle, INFINITE);
        }
        return false;
    }
    return WaitForSingleObject(ownHandle, INFINITE) == WAIT_OBJECT_0;
}

Thread* Thread::current()
{
    Registry& threads = registry();
    if (auto* thread = static_cast<Thread*>(TlsGetValue(threads.currentThreadSlot))) {
        return thread;
    }
    DWORD id = GetCurrentThreadId();
    Thread* found = nullptr;
    threads.threadsMutex.lock();
    for (Thread& thread : threads.threads) {
        if (thread.threadId == id) {
            found = &thread;
            break;
        }
    }
    threads.threadsMutex.unlock();
    if (!found) {
        // Adopted: the creation reference is never dropped, and the registry takes its own.
        found = new Thread;
        HANDLE handle = nullptr;
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &handle, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        found->ownHandle = handle;
        found->threadHandle = handle;
        found->threadId = id;
        enter(found);
    }
    TlsSetValue(threads.currentThreadSlot, found);
    return found;
}

DWORD WINAPI Thread::startRoutine(LPVOID parameter)
{
    auto* thread = static_cast<Thread*>(parameter);
    Registry& threads = registry();
    // Gives the thread its message queue before anything is posted to it.
    MSG message;
    PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    TlsSetValue(threads.currentThreadSlot, thread);
    thread->startedSignal.set();
    SetEvent(thread->bodyReached);

    try {
        thread->run();
    } catch (...) {
        // Whatever the body throws ends it, and only it.
    }

    // Handle and id go before the signal, so that whoever sees the signal reset also sees the
    // body gone (join relies on it).
    thread->threadId = 0;
    thread->threadHandle = nullptr;
    thread->startedSignal.reset();
    leave(thread);
    TlsSetValue(threads.currentThreadSlot, nullptr);
    thread->release();
    return 0;
}

} // namespace vardel::system
