#pragma once

#include <atomic>
#include <cstdint>

#include "platform/Win32.h"
#include "object/Object.h"
#include "types/String.h"
#include "system/Mutex.h"
#include "system/Signal.h"
#include "application/MessageCodes.h"
#include "application/MessageQueue.h"
#include "application/Messenger.h"

namespace vardel::application {

// The one application of the process: a messenger whose messages are served by the loop of
// run() on the thread that calls it (the main thread). Subclasses fill in the two hooks.
class Application : public Messenger {
    VARDEL_CLASS_PATH(Messenger, Application)

    // The code of the message that ends run() when it targets the application itself.
    static constexpr std::int32_t quitApplication = MessageCodes::quitApplication;

    // Makes the application the process's theApplication.
    Application();
    // Releases the messages still queued; theApplication becomes null.
    ~Application() override;

    // Message delivery
    // Puts the message at the front of the queue and wakes the loop.
    bool sendMessage(Message* message) override;
    // Puts the message at the back of the queue and wakes the loop.
    bool postMessage(Message* message) override;
    bool runsOwnThread() override;

    // Hooks
    // Called by run() before the loop; false makes run() return false at once.
    virtual bool ready();
    // Called by run() when the quit message arrives, before run() returns.
    virtual bool quitting();

    // Loop
    // Serves the queue on the calling thread until the quit message; true once it is served.
    bool run();
    // Posts the quit message to theApplication, from any thread. False (and nothing happens) if
    // there is no application or its loop has not started.
    static bool quit();

    // The messages waiting for the loop.
    MessageQueue queue;
    // Guards queue.
    system::Mutex queueMutex;
    // Cleared by the loop when it finds the queue empty and may sleep; the first post after that
    // sets it and its event (manual-reset), and the loop looks again before it sleeps.
    system::Signal queueSignal;

private:
    void wake();

    // Messages sent, and so put at the front of the queue, since the loop last took the queue.
    std::atomic<std::int32_t> sentAhead{0};
};

// The application while it exists; null otherwise.
extern std::atomic<Application*> theApplication;
// The module the program runs from, for window classes and windows.
extern HINSTANCE instanceHandle;

} // namespace vardel::application
