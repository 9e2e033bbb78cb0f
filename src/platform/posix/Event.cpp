#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/posix/Handle.h"
#include "platform/posix/NamedObjects.h"

namespace vardel::platform::posix {

namespace {

class EventRecord : public HandleRecord {
public:
    EventRecord(bool manualReset, bool signalled) : manualReset(manualReset), signalled(signalled) {}

    DWORD wait(const Deadline& deadline) override
    {
        std::unique_lock lock(mutex);
        std::uint64_t pulsesBefore = pulses;
        ++waiting;
        bool woken = deadline.wait(changed, lock, [&] { return signalled || pulses != pulsesBefore; });
        --waiting;
        if (!woken) {
            return WAIT_TIMEOUT;
        }
        if (signalled && !manualReset) {
            signalled = false;
        }
        return WAIT_OBJECT_0;
    }

    void set()
    {
        std::lock_guard lock(mutex);
        signalled = true;
        if (manualReset) {
            changed.notify_all();
        } else {
            changed.notify_one();
        }
    }

    void reset()
    {
        std::lock_guard lock(mutex);
        signalled = false;
    }

    // Each thread waiting now sees the pulse count change, however late it gets to run; a thread
    // that starts waiting after the pulse does not. An auto-reset event instead passes one
    // signal to one of the waiters, if there are any.
    void pulse()
    {
        std::lock_guard lock(mutex);
        if (manualReset) {
            ++pulses;
            signalled = false;
            changed.notify_all();
        } else {
            signalled = waiting > 0;
            changed.notify_one();
        }
    }

private:
    std::mutex mutex;
    std::condition_variable changed;
    const bool manualReset;
    bool signalled;
    std::uint64_t pulses = 0;
    int waiting = 0;
};

} // namespace

} // namespace vardel::platform::posix

using namespace vardel::platform::posix;

HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCSTR name)
{
    return NamedObjects::open<EventRecord>(
        name, [&] { return std::make_shared<EventRecord>(manualReset != FALSE, initialState != FALSE); });
}

BOOL WINAPI SetEvent(HANDLE event)
{
    std::shared_ptr<EventRecord> record = findHandle<EventRecord>(event);
    if (!record) {
        return FALSE;
    }
    record->set();
    return TRUE;
}

BOOL WINAPI ResetEvent(HANDLE event)
{
    std::shared_ptr<EventRecord> record = findHandle<EventRecord>(event);
    if (!record) {
        return FALSE;
    }
    record->reset();
    return TRUE;
}

BOOL WINAPI PulseEvent(HANDLE event)
{
    std::shared_ptr<EventRecord> record = findHandle<EventRecord>(event);
    if (!record) {
        return FALSE;
    }
    record->pulse();
    return TRUE;
}
