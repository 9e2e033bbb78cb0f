#include "application/Messenger.h"

#include "system/Thread.h"
#include "application/Message.h"

namespace vardel::application {

Messenger::Messenger() : thread(nullptr), defaultHandler(this)
{
    handlers.append(this);
    messenger = this;
    // Its own registration must not keep the messenger alive.
    release();
}

Messenger::~Messenger()
{
    // Balances the release that leaving its own chain does.
    retain();
    handlers.remove(this);
    messenger = nullptr;
    while (handlers.count > 0) {
        Handler* handler = handlers.endLink.next->member();
        handler->messenger = nullptr;
        handlers.remove(handler);
    }
    defaultHandler = this;
}

bool Messenger::addHandler(Handler* handler)
{
    if (handler == this || handler->messenger) {
        return false;
    }
    handlers.append(handler);
    handler->messenger = this;
    return true;
}

bool Messenger::removeHandler(Handler* handler)
{
    if (handler == this) {
        return false;
    }
    if (handler->messenger == this) {
        handler->messenger = nullptr;
    }
    if (defaultHandler == handler) {
        defaultHandler = this;
    }
    handlers.remove(handler);
    return true;
}

bool Messenger::post(Handler* target, std::int32_t what)
{
    Messenger* serving = target ? target->messenger : nullptr;
    if (!serving || !serving->thread) {
        return false;
    }
    return serving->postMessage(new Message(what, target));
}

bool Messenger::post(Message* message)
{
    Messenger* serving = message->target ? message->target->messenger : nullptr;
    if (!serving || !serving->thread) {
        message->release();
        return false;
    }
    return serving->postMessage(message);
}

bool Messenger::send(Handler* target, std::int32_t what)
{
    Messenger* serving = target ? target->messenger : nullptr;
    if (!serving) {
        return false;
    }
    system::Thread* servingThread = serving->thread;
    if (!servingThread) {
        return false;
    }
    if (servingThread == system::Thread::current()) {
        Message message(what, target);
        target->handleMessage(message);
        return true;
    }
    return serving->sendMessage(new Message(what, target));
}

} // namespace vardel::application
