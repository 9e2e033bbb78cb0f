#include "platform/posix/MessageQueue.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <cstdint>
#include <unordered_map>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "platform/posix/LastError.h"
#include "platform/posix/MessageSource.h"
#include "platform/posix/ThreadContext.h"

namespace vardel::platform::posix {

namespace {

// Never destroyed: threads may post while the process exits.
struct QueueRegistry {
    std::mutex mutex;
    std::unordered_map<DWORD, std::shared_ptr<MessageQueue>> queues;
};

QueueRegistry& registry()
{
    static QueueRegistry* queues = new QueueRegistry;
    return *queues;
}

} // namespace

MessageQueue& MessageQueue::current()
{
    ThreadContext& context = ThreadContext::current();
    if (!context.queue) {
        context.queue = std::make_shared<MessageQueue>(context.id);
        std::lock_guard lock(registry().mutex);
        registry().queues[context.id] = context.queue;
    }
    return *context.queue;
}

std::shared_ptr<MessageQueue> MessageQueue::find(DWORD threadId)
{
    std::lock_guard lock(registry().mutex);
    auto found = registry().queues.find(threadId);
    return found == registry().queues.end() ? nullptr : found->second;
}

MessageQueue::MessageQueue(DWORD threadId)
    : threadId(threadId), wakeDescriptor(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
}

MessageQueue::~MessageQueue()
{
    if (wakeDescriptor >= 0) {
        ::close(wakeDescriptor);
    }
}

bool MessageQueue::post(const MSG& message)
{
    bool asleep;
    {
        std::lock_guard lock(mutex);
        if (closed) {
            return false;
        }
        posted.push_back(message);
        asleep = sleeping;
        if (asleep) {
            sleeping = false;
        }
    }
    // An owner that is awake looks at the queue again before it sleeps (see get), so only the
    // first post to a sleeping owner costs a wake-up.
    if (asleep) {
        wake();
    }
    return true;
}

void MessageQueue::wake()
{
    std::uint64_t one = 1;
    while (write(wakeDescriptor, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void MessageQueue::addSource(MessageSource* source)
{
    sources.push_back(source);
}

void MessageQueue::removeSource(MessageSource* source)
{
    sources.erase(std::remove(sources.begin(), sources.end(), source), sources.end());
}

bool MessageQueue::peek(MSG& message, HWND window, UINT first, UINT last, bool remove)
{
    // A pump may add or remove sources (a window closing its connection), so walk a copy.
    std::vector<MessageSource*> walking = sources;
    for (MessageSource* source : walking) {
        source->pump(*this);
    }
    if (takeTaken(message, window, first, last, remove)) {
        return true;
    }
    {
        // Everything posted so far moves to the owner's side under one lock; the owner then takes
        // message after message without locking.
        std::lock_guard lock(mutex);
        if (next == taken.size()) {
            taken.clear();
            next = 0;
            taken.swap(posted);
            if (posted.capacity() > keptCapacity) {
                // A burst leaves no lasting footprint.
                posted = std::vector<MSG>();
            }
        } else {
            taken.insert(taken.end(), posted.begin(), posted.end());
            posted.clear();
        }
    }
    if (takeTaken(message, window, first, last, remove)) {
        return true;
    }
    walking = sources;
    for (MessageSource* source : walking) {
        if (source->idle(message, window, first, last, remove)) {
            return true;
        }
    }
    return false;
}

bool MessageQueue::takeTaken(MSG& message, HWND window, UINT first, UINT last, bool remove)
{
    for (std::size_t index = next; index < taken.size(); ++index) {
        if (!matches(taken[index], window, first, last)) {
            continue;
        }
        message = taken[index];
        if (remove && index == next) {
            ++next;
        } else if (remove) {
            taken.erase(taken.begin() + static_cast<std::ptrdiff_t>(index));
        }
        return true;
    }
    return false;
}

void MessageQueue::get(MSG& message, HWND window, UINT first, UINT last)
{
    while (!peek(message, window, first, last, true)) {
        {
            // Posts from now on wake the owner; one that came since the look is taken instead.
            // What the owner has taken already was looked at by peek.
            std::lock_guard lock(mutex);
            if (std::any_of(posted.begin(), posted.end(),
                            [&](const MSG& waiting) { return matches(waiting, window, first, last); })) {
                continue;
            }
            sleeping = true;
        }
        waitForInput();
        {
            std::lock_guard lock(mutex);
            sleeping = false;
        }
        // The wake-up count is cleared before the next look, so a wake() that lands after that
        // look leaves the descriptor readable for the next wait.
        drainWake();
    }
}

DWORD MessageQueue::now()
{
    // The coarse clock reads the time of the last tick without asking the hardware: every post
    // stamps its message, and a tick's resolution is all a message time promises.
    timespec time;
    clock_gettime(CLOCK_MONOTONIC_COARSE, &time);
    return static_cast<DWORD>(static_cast<std::uint64_t>(time.tv_sec) * 1000u + static_cast<std::uint64_t>(time.tv_nsec) / 1000000u);
}

void MessageQueue::close()
{
    {
        std::lock_guard lock(registry().mutex);
        auto found = registry().queues.find(threadId);
        if (found != registry().queues.end() && found->second.get() == this) {
            registry().queues.erase(found);
        }
    }
    std::lock_guard lock(mutex);
    closed = true;
    posted.clear();
    taken.clear();
    next = 0;
}

void MessageQueue::drainWake()
{
    std::uint64_t count;
    while (read(wakeDescriptor, &count, sizeof count) < 0 && errno == EINTR) {
    }
}

void MessageQueue::waitForInput()
{
    std::vector<pollfd> descriptors{{wakeDescriptor, POLLIN, 0}};
    for (MessageSource* source : sources) {
        int descriptor = source->descriptor();
        if (descriptor >= 0) {
            descriptors.push_back({descriptor, POLLIN, 0});
        }
    }
    while (poll(descriptors.data(), descriptors.size(), -1) < 0 && errno == EINTR) {
    }
}

} // namespace vardel::platform::posix

using namespace vardel::platform::posix;

BOOL WINAPI PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG posted{nullptr, message, wParam, lParam, MessageQueue::now(), {0, 0}};
    // A thread mostly posts to the same thread again, so it keeps the last queue it posted to and
    // skips the registry. Ids are never reused; a queue closed since is looked up once more, in
    // case its thread made a new one.
    std::shared_ptr<MessageQueue>& target = ThreadContext::current().postTarget;
    if (target && target->threadId == threadId && target->post(posted)) {
        return TRUE;
    }
    target = MessageQueue::find(threadId);
    if (!target || !target->post(posted)) {
        return fail(ERROR_INVALID_THREAD_ID);
    }
    return TRUE;
}

BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT first, UINT last, UINT remove)
{
    if (!message) {
        return fail(ERROR_INVALID_PARAMETER);
    }
    return MessageQueue::current().peek(*message, window, first, last, (remove & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL WINAPI GetMessageA(LPMSG message, HWND window, UINT first, UINT last)
{
    if (!message) {
        fail(ERROR_INVALID_PARAMETER);
        return -1;
    }
    MessageQueue::current().get(*message, window, first, last);
    return message->message == WM_QUIT ? FALSE : TRUE;
}
