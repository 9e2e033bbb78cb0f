#include "platform/posix/ThreadRecord.h"

#include <cerrno>
#include <ctime>
#include <memory>

#include <pthread.h>
#include <sched.h>
#include <unistd.h>

#include "platform/posix/ThreadContext.h"

namespace vardel::platform::posix {

ThreadRecord::ThreadRecord(DWORD id, DWORD suspendCount) : id(id), suspendCount(suspendCount) {}

DWORD ThreadRecord::wait(const Deadline& deadline)
{
    std::unique_lock lock(mutex);
    return deadline.wait(changed, lock, [this] { return ended; }) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

DWORD ThreadRecord::resume()
{
    std::lock_guard lock(mutex);
    DWORD previous = suspendCount;
    if (suspendCount > 0 && --suspendCount == 0) {
        changed.notify_all();
    }
    return previous;
}

void ThreadRecord::waitUntilResumed()
{
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return suspendCount == 0; });
}

void ThreadRecord::end()
{
    std::lock_guard lock(mutex);
    ended = true;
    changed.notify_all();
}

namespace {

struct StartRecord {
    LPTHREAD_START_ROUTINE routine;
    LPVOID parameter;
    std::shared_ptr<ThreadRecord> record;
};

void* startThread(void* argument)
{
    std::unique_ptr<StartRecord> start(static_cast<StartRecord*>(argument));
    ThreadContext::begin(start->record);
    start->record->waitUntilResumed();
    start->routine(start->parameter);
    ThreadContext::current().end();
    return nullptr;
}

} // namespace

} // namespace vardel::platform::posix

using namespace vardel::platform::posix;

HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T stackSize, LPTHREAD_START_ROUTINE routine,
                           LPVOID parameter, DWORD flags, LPDWORD threadId)
{
    if (!routine) {
        fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    DWORD id = ThreadContext::newId();
    auto record = std::make_shared<ThreadRecord>(id, (flags & CREATE_SUSPENDED) ? 1 : 0);
    auto* start = new StartRecord{routine, parameter, record};

    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    if (stackSize > 0) {
        SIZE_T least = static_cast<SIZE_T>(PTHREAD_STACK_MIN);
        pthread_attr_setstacksize(&attributes, stackSize < least ? least : stackSize);
    }
    pthread_t thread;
    int error = pthread_create(&thread, &attributes, startThread, start);
    pthread_attr_destroy(&attributes);
    if (error != 0) {
        delete start;
        failWithErrno(error);
        return nullptr;
    }
    if (threadId) {
        *threadId = id;
    }
    return openHandle(std::move(record));
}

DWORD WINAPI ResumeThread(HANDLE thread)
{
    std::shared_ptr<ThreadRecord> record = findHandle<ThreadRecord>(thread);
    return record ? record->resume() : static_cast<DWORD>(-1);
}

DWORD WINAPI GetCurrentThreadId()
{
    return ThreadContext::current().id;
}

void WINAPI Sleep(DWORD milliseconds)
{
    if (milliseconds == 0) {
        sched_yield();
        return;
    }
    if (milliseconds == INFINITE) {
        for (;;) {
            pause();
        }
    }
    // An absolute end on the monotonic clock, so that signals and clock changes neither shorten
    // nor stretch the sleep.
    timespec end;
    clock_gettime(CLOCK_MONOTONIC, &end);
    end.tv_sec += milliseconds / 1000;
    end.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
    if (end.tv_nsec >= 1000000000L) {
        end.tv_sec += 1;
        end.tv_nsec -= 1000000000L;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &end, nullptr) == EINTR) {
    }
}
