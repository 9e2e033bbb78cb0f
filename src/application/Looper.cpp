#include "application/Looper.h"

#include <memory>

#include "application/Message.h"

namespace vardel::application {

Looper::LooperThread::LooperThread(Looper* looper) : looper(looper) {}

bool Looper::LooperThread::run()
{
    looper->run();
    return true;
}

Looper::Looper() : threadId(0) {}

Looper::~Looper()
{
    if (thread) {
        stop();
    }
}

bool Looper::sendMessage(Message* message)
{
    return postMessage(message);
}

bool Looper::postMessage(Message* message)
{
    if (!PostThreadMessageA(threadId, frameworkMessage, reinterpret_cast<WPARAM>(message), 0)) {
        // The thread ended between the caller's look at it and now.
        message->release();
        return false;
    }
    return true;
}

bool Looper::runsOwnThread()
{
    return true;
}

bool Looper::start()
{
    if (thread) {
        return false;
    }
    // A restarted looper waits for its new thread like the first time.
    readySignal.reset();
    auto* looperThread = new LooperThread(this);
    if (!looperThread->start(false)) {
        looperThread->release();
        return false;
    }
    threadId = looperThread->threadId.load();
    thread = looperThread;
    if (!readySignal.isSet()) {
        WaitForSingleObject(readySignal.event, INFINITE);
    }
    return true;
}

bool Looper::stop()
{
    system::Thread* running = thread;
    if (!running) {
        return false;
    }
    quitLoop();
    if (threadId == GetCurrentThreadId()) {
        // The loop ends when the message being served returns; the thread stays set until
        // someone else stops the looper.
        return true;
    }
    running->join();
    threadId = 0;
    thread = nullptr;
    running->release();
    return true;
}

bool Looper::quitLoop()
{
    PostThreadMessageA(threadId, WM_QUIT, 0, 0);
    return true;
}

bool Looper::isRunning() const
{
    system::Thread* running = thread;
    return running && running->startedSignal.isSet();
}

bool Looper::run()
{
    DWORD self = GetCurrentThreadId();
    while (!PostThreadMessageA(self, queueReady, 0, 0)) {
        Sleep(5);
    }
    readySignal.set();

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else if (message.message == frameworkMessage) {
            // Destroyed without looking at its count once served, even when the handler throws.
            std::unique_ptr<Message> served(reinterpret_cast<Message*>(message.wParam));
            served->target->handleMessage(*served);
        }
    }
    // Messages handed over after the quit request are never served; give their slots back.
    while (PeekMessageA(&message, nullptr, frameworkMessage, frameworkMessage, PM_REMOVE)) {
        if (message.message == frameworkMessage) {
            delete reinterpret_cast<Message*>(message.wParam);
        }
    }
    return true;
}

} // namespace vardel::application
