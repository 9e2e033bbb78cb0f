#pragma once

#include <atomic>

#include "platform/Win32.h"
#include "container/Chainable.h"
#include "object/Object.h"
#include "types/String.h"
#include "system/Signal.h"

namespace vardel::system {

// A thread of the process: started by start(), which runs run() on a new thread, or adopted when
// a thread the system did not start first asks current(). Every started or adopted thread that
// has not ended is in the process-wide registry, which holds a reference on it.
class Thread : public object::Object, public container::Chainable<Thread> {
    VARDEL_CLASS_PATH(object::Object, Thread)

    Thread();
    ~Thread() override;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // The thread's body; exceptions thrown from it end the thread quietly.
    virtual bool run();

    // Life cycle
    // Starts the thread unless it runs already. With wait, returns once the body is about to run.
    // False, with nothing left behind, when no thread could be created.
    bool start(bool wait);
    // Waits for the thread to end. False at once when called on the thread itself and when the
    // body is not running (not started, adopted, or already returned).
    bool join();

    // The calling thread's Thread, adopting the thread if the system does not know it. Never null.
    static Thread* current();

    // Set by the thread when its body is about to run, cleared when the body has returned.
    Signal startedSignal;
    // The thread's handle and id while it runs (for good on an adopted thread); null and 0 otherwise.
    std::atomic<HANDLE> threadHandle;
    // The system's id of the thread while it runs, or 0.
    std::atomic<DWORD> threadId;

private:
    static DWORD WINAPI startRoutine(LPVOID parameter);

    // The handle of the thread last started or adopted, kept after the body has returned so that
    // join() and the next start() can wait until that thread has let go of this object entirely.
    HANDLE ownHandle;
    // Set once per start when the body is reached; unlike startedSignal, nothing resets it behind
    // the back of a start(true) still waiting for a body that has already returned.
    HANDLE bodyReached;
};

} // namespace vardel::system
