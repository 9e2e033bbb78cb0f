#include "application/Application.h"

#include "system/Thread.h"
#include "application/Message.h"

namespace vardel::application {

std::atomic<Application*> theApplication{nullptr};
// What WinMain would be given. mingw's runtime enters a program through main even when it is
// built for the GUI subsystem, so the handle is taken here rather than in a WinMain.
HINSTANCE instanceHandle = GetModuleHandleA(nullptr);

Application::Application()
{
    theApplication = this;
}

Application::~Application()
{
    theApplication = nullptr;
}

bool Application::sendMessage(Message* message)
{
    queueMutex.lock();
    queue.pushFront(message);
    ++sentAhead;
    // The queue's count replaces the caller's, so the message goes back to the pool once served.
    // Dropped under the lock, while the loop cannot be at the message yet.
    message->release();
    wake();
    queueMutex.unlock();
    return true;
}

bool Application::postMessage(Message* message)
{
    queueMutex.lock();
    queue.pushBack(message);
    message->release();
    // Before the unlock: once the loop can take the message it may serve a quit and the
    // application go, so nothing of it is touched afterwards.
    wake();
    queueMutex.unlock();
    return true;
}

bool Application::runsOwnThread()
{
    return false;
}

bool Application::ready()
{
    return true;
}

bool Application::quitting()
{
    return true;
}

bool Application::run()
{
    if (!ready()) {
        return false;
    }
    thread = system::Thread::current();
    // What the loop took from the queue and has not served yet. It goes back to the front of the
    // queue when run() ends, by the quit message or by a handler's exception, so that it stays
    // queued until the application goes.
    Message* taken = nullptr;
    struct Unserved {
        ~Unserved()
        {
            if (taken) {
                application.queueMutex.lock();
                application.queue.restoreFront(taken);
                application.queueMutex.unlock();
            }
        }
        Application& application;
        Message*& taken;
    } unserved{*this, taken};

    // Whether the event was reset, and the queue looked at, since the loop last woke.
    bool armed = false;
    for (;;) {
        // Everything queued is taken under one lock and served without it.
        queueMutex.lock();
        taken = queue.takeAll();
        if (sentAhead.load() != 0) {
            // Written only when it changes: posters read the signal's state beside it.
            sentAhead = 0;
        }
        queueMutex.unlock();
        if (!taken) {
            if (!armed || queueSignal.state) {
                // Posts from now on set the event. It is reset first, so that a set meant for
                // this wait is never undone; the queue is looked at once more before the wait,
                // for what came before the state was cleared.
                ResetEvent(queueSignal.event);
                queueSignal.state = false;
                armed = true;
            } else {
                WaitForSingleObject(queueSignal.event, INFINITE);
                armed = false;
            }
            continue;
        }
        while (taken) {
            Message* message;
            if (sentAhead.load() > 0) {
                // Sent while the loop serves what it took: those go first, as if they had been
                // put ahead of it in the queue.
                queueMutex.lock();
                message = queue.popFront();
                --sentAhead;
                queueMutex.unlock();
            } else {
                message = taken;
                taken = message->next;
            }
            if (message->target == this && message->what == quitApplication) {
                quitting();
                message->release();
                return true;
            }
            message->target->handleMessage(*message);
            message->release();
        }
    }
}

bool Application::quit()
{
    return post(theApplication, quitApplication);
}

void Application::wake()
{
    // Only the first wake after the loop reset the signal needs the event; the loop looks at the
    // state once more before it waits. Reading first keeps busy posters off each other's writes.
    if (!queueSignal.state.load() && !queueSignal.state.exchange(true)) {
        SetEvent(queueSignal.event);
    }
}

} // namespace vardel::application
