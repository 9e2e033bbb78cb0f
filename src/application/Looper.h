#pragma once

#include <atomic>

#include "platform/Win32.h"
#include "object/Object.h"
#include "types/String.h"
#include "system/Signal.h"
#include "system/Thread.h"
#include "application/MessageCodes.h"
#include "application/Messenger.h"

namespace vardel::application {

// A messenger with a thread of its own, whose loop serves both the looper's messages and the
// native messages of the windows made on that thread.
class Looper : public Messenger {
    VARDEL_CLASS_PATH(Messenger, Looper)

    // The thread that runs a looper's loop.
    class LooperThread : public system::Thread {
        VARDEL_CLASS_PATH(system::Thread, LooperThread)

        // The thread of looper.
        explicit LooperThread(Looper* looper);
        bool run() override;

        // Not a counted reference: the looper holds the thread, not the other way round.
        Looper* looper;
    };

    // Thread messages of the loop (application/MessageCodes.h): a framework message (wParam is the
    // Message), and the notice with which the loop makes sure of its thread's queue.
    static constexpr UINT frameworkMessage = MessageCodes::frameworkMessage;
    // The notice of the loop's queue (MessageCodes::queueReady).
    static constexpr UINT queueReady = MessageCodes::queueReady;

    Looper();
    // Stops the thread first, if it runs.
    ~Looper() override;

    // Message delivery
    // Both append to the thread's message queue: a looper serves in the order of handing over.
    bool sendMessage(Message* message) override;
    bool postMessage(Message* message) override;
    bool runsOwnThread() override;

    // Loop control
    // Starts a thread and returns once its loop serves messages; false if a thread is set.
    bool start();
    // Ends the loop and, unless called on the looper thread itself, waits for the thread to end
    // and lets it go. False if no thread is set.
    bool stop();
    // Asks the loop to end after the message it serves; true.
    bool quitLoop();
    // Whether a thread is set and its body runs.
    bool isRunning() const;

    // Set by the loop once it serves messages; reset by start() for each new thread.
    system::Signal readySignal;

private:
    // The loop, on the looper thread.
    bool run();

    // The id of the thread set in `thread`, or 0: posting needs only the id, and a poster that
    // races with stop() must not read the thread object that stop() is letting go.
    std::atomic<DWORD> threadId;
};

} // namespace vardel::application
