#include "platform/posix/ThreadContext.h"

#include <atomic>

#include <pthread.h>

#include "platform/posix/MessageQueue.h"
#include "platform/posix/ThreadRecord.h"

namespace vardel::platform::posix {

namespace {

thread_local ThreadContext* context = nullptr;

// Ends and frees a thread's context when the thread exits. The main thread's context is never
// freed: static destructors may still ask for it at exit.
void endThread(void* value)
{
    auto* ending = static_cast<ThreadContext*>(value);
    ending->end();
    context = nullptr;
    delete ending;
}

pthread_key_t contextKey()
{
    static const pthread_key_t key = [] {
        pthread_key_t made;
        pthread_key_create(&made, endThread);
        return made;
    }();
    return key;
}

} // namespace

ThreadContext::ThreadContext(DWORD id, std::shared_ptr<ThreadRecord> record)
    : id(id), threadRecord(std::move(record))
{
}

ThreadContext& ThreadContext::current()
{
    if (!context) {
        install(new ThreadContext(newId(), nullptr));
    }
    return *context;
}

void ThreadContext::begin(std::shared_ptr<ThreadRecord> record)
{
    DWORD id = record->id;
    install(new ThreadContext(id, std::move(record)));
}

void ThreadContext::install(ThreadContext* made)
{
    context = made;
    pthread_setspecific(contextKey(), made);
}

DWORD ThreadContext::newId()
{
    static std::atomic<DWORD> last{0};
    DWORD id;
    do {
        id = last.fetch_add(1, std::memory_order_relaxed) + 1;
    } while (id == 0);
    return id;
}

std::shared_ptr<ThreadRecord> ThreadContext::record()
{
    if (!threadRecord) {
        threadRecord = std::make_shared<ThreadRecord>(id, 0);
    }
    return threadRecord;
}

void ThreadContext::end()
{
    if (queue) {
        queue->close();
        queue.reset();
    }
    if (threadRecord) {
        threadRecord->end();
    }
}

} // namespace vardel::platform::posix
