#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "platform/posix/Types.h"

namespace vardel::platform::posix {

class MessageSource;

// The message queue of one thread: posted messages in order, plus the thread's message sources
// (see MessageSource). Other threads post to it and wake it; only the owner reads it.
class MessageQueue {
public:
    // The calling thread's queue, made on first use (a thread has a queue from its first
    // PeekMessageA, GetMessageA or window).
    static MessageQueue& current();
    // The queue of a thread, or null when that thread has none (not yet, or it has ended).
    static std::shared_ptr<MessageQueue> find(DWORD threadId);

    explicit MessageQueue(DWORD threadId);
    ~MessageQueue();
    MessageQueue(const MessageQueue&) = delete;
    MessageQueue& operator=(const MessageQueue&) = delete;

    // Any thread
    // Appends a message and wakes the owner; false once the queue is closed.
    bool post(const MSG& message);
    // Makes the owner's wait look at its sources again (after InvalidateRect, for instance).
    void wake();

    // Owner thread only
    void addSource(MessageSource* source);
    void removeSource(MessageSource* source);
    // The first message that matches the filter, if any, as PeekMessageA.
    bool peek(MSG& message, HWND window, UINT first, UINT last, bool remove);
    // Waits for a matching message and removes it, as GetMessageA.
    void get(MSG& message, HWND window, UINT first, UINT last);

    // The filter of PeekMessageA and GetMessageA: window null takes every message of the thread,
    // (HWND)-1 only thread messages; a range of 0, 0 takes every number; WM_QUIT always matches.
    static bool matches(const MSG& message, HWND window, UINT first, UINT last)
    {
        if (message.message == WM_QUIT) {
            return true;
        }
        HWND threadOnly = reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1));
        if (window == threadOnly ? message.hwnd != nullptr : window && message.hwnd != window) {
            return false;
        }
        return (first == 0 && last == 0) || (message.message >= first && message.message <= last);
    }
    // The time stamp of a new message, in milliseconds on the monotonic clock.
    static DWORD now();

    // Unregisters the queue when its thread ends; posting fails from then on.
    void close();

    const DWORD threadId;

private:
    // The first message of taken that matches the filter, as peek.
    bool takeTaken(MSG& message, HWND window, UINT first, UINT last, bool remove);
    void drainWake();
    void waitForInput();

    // Shared by the posters and the owner, under the mutex.
    std::mutex mutex;
    // Posted and not yet seen by the owner, in order; both vectors keep their capacity, so a
    // queue in steady use allocates nothing.
    std::vector<MSG> posted;
    bool closed = false;
    // The owner is in (or about to enter) its wait in get(), and posts must wake it.
    bool sleeping = false;
    int wakeDescriptor;

    // Owner thread only, on a cache line of its own so that taking a message does not pull the
    // posters' line away from them. What the owner moved out of posted in one go, older than
    // anything still in posted; the messages from next on are waiting.
    alignas(64) std::vector<MSG> taken;
    std::size_t next = 0;
    std::vector<MessageSource*> sources;
    // Messages a vector keeps room for once emptied.
    static constexpr std::size_t keptCapacity = 4096;
};

} // namespace vardel::platform::posix
