#pragma once

#include <atomic>
#include <cstdint>

#include "container/Chain.h"
#include "object/Object.h"
#include "types/String.h"
#include "system/Forward.h"
#include "application/Handler.h"

namespace vardel::application {

// A handler that keeps a list of registered handlers and knows the thread on which their
// messages are served. Subclasses say how a message reaches that thread.
class Messenger : public Handler {
    VARDEL_CLASS_PATH(Handler, Messenger)

    Messenger();
    ~Messenger() override;

    // Message delivery
    // Each takes over the caller's hold on the message, whatever it returns: a message that
    // cannot be delivered is released.
    // Urgent delivery.
    virtual bool sendMessage(Message* message) = 0;
    // Ordinary delivery, in order.
    virtual bool postMessage(Message* message) = 0;
    // Whether the messenger serves its messages on a thread of its own (a looper) rather than on the thread that runs its loop (the application).
    virtual bool runsOwnThread() = 0;

    // Handlers
    // Registers a handler that is registered nowhere; the chain takes a reference on it. False
    // for the messenger itself and for a handler registered already.
    bool addHandler(Handler* handler);
    // Unregisters a handler of this messenger and drops the chain's reference. False only for
    // the messenger itself.
    bool removeHandler(Handler* handler);

    // Message transmission
    // Makes a message for target and hands it to target's messenger. False, making nothing,
    // when target has no messenger or the messenger no thread.
    static bool post(Handler* target, std::int32_t what);
    // Hands a message made by the caller (with its parameters) to its target's messenger,
    // taking over the caller's hold; a message refused is released.
    static bool post(Message* message);
    // As post, but urgent; on the serving thread itself the message is served before send
    // returns. Never waits for a message served on another thread.
    static bool send(Handler* target, std::int32_t what);

    // The thread that serves this messenger's messages; null until it runs.
    std::atomic<system::Thread*> thread;
    // The registered handlers, the messenger itself first (without a reference on it).
    container::Chain<Handler> handlers;
    // The handler that serves messages without a target of their own; the messenger itself by default.
    Handler* defaultHandler;
};

} // namespace vardel::application
