#pragma once

#include <memory>

#include "platform/posix/Types.h"

namespace vardel::platform::posix {

class MessageQueue;
class ThreadRecord;

// What the layer keeps for one thread: its id, its thread record and its message queue. Made on
// the thread's first call that needs it, whoever created the thread; ended when the thread ends
// (after its start routine for CreateThread's threads, at thread exit for the others).
class ThreadContext {
public:
    // The calling thread's context.
    static ThreadContext& current();
    // Makes the calling thread's context for a thread started by CreateThread, whose record and
    // id were made before it ran.
    static void begin(std::shared_ptr<ThreadRecord> record);
    // A new thread id: unique for the life of the process and never 0.
    static DWORD newId();

    // The record behind the thread's handles, made on first use for adopted threads.
    std::shared_ptr<ThreadRecord> record();
    // Closes the thread's queue (posting to it fails from now on) and releases waits on the
    // thread. Idempotent.
    void end();

    const DWORD id;
    // Made by the thread's first PeekMessageA or GetMessageA (MessageQueue::current()).
    std::shared_ptr<MessageQueue> queue;
    // The queue this thread last posted to, kept so that posting again skips the registry.
    std::shared_ptr<MessageQueue> postTarget;

private:
    ThreadContext(DWORD id, std::shared_ptr<ThreadRecord> record);
    static void install(ThreadContext* context);

    std::shared_ptr<ThreadRecord> threadRecord;
};

} // namespace vardel::platform::posix
