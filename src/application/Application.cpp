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
    // The queue's count replaces the caller's, so the message goes back to the pool once served.
    message->release();
    queueMutex.unlock();
    wake();
    return true;
}

bool Application::postMessage(Message* message)
{
    queueMutex.lock();
    queue.pushBack(message);
    message->release();
    queueMutex.unlock();
    wake();
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
    for (;;) {
        // The event is reset before the queue is looked at, so a message queued after the look
        // finds the event reset and sets it again: no wake-up is lost, and none is left set to
        // make the wait below return at once for ever.
        queueSignal.state = false;
        ResetEvent(queueSignal.event);
        for (;;) {
            queueMutex.lock();
            Message* message = queue.popFront();
            queueMutex.unlock();
            if (!message) {
                break;
            }
            if (message->target == this && message->what == quitApplication) {
                quitting();
                message->release();
                return true;
            }
            message->target->handleMessage(*message);
            message->release();
        }
        if (!queueSignal.state) {
            WaitForSingleObject(queueSignal.event, INFINITE);
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
