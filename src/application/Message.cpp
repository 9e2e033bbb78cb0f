#include "application/Message.h"

#include <cstring>

#include "container/Allocator.h"
#include "system/Mutex.h"

namespace vardel::application {

namespace {

// The process-wide objects and their order. Made before main, in this order: the thread registry
// (its chain, its mutex and the thread-local slot) and then the adoption of the main thread, by
// system/Thread.cpp; then the parameter pool, the message pool and the pools' mutex below. Each is
// made whole by its accessor on first use, so the pools' mutex exists before either pool is
// touched, and the static initialisers make both before main so that no thread races to make
// them. Nothing here needs the registry, and Application::run and Looper reach it only through
// Thread::current(), which makes it. Neither is ever destroyed, which fixes the exit order: the
// pools and the registry outlive every static destructor, so messages still queued in an
// application destroyed at exit, and threads the program left running, may use them until the
// process ends. Pool memory is never returned to the heap anyway.
struct Pools {
    container::Allocator<Message::Parameter> parameters;
    container::Allocator<Message> messages;
    system::Mutex mutex;
};

Pools& pools()
{
    static Pools* made = new Pools;
    return *made;
}

[[maybe_unused]] Pools& madeBeforeMain = pools();

} // namespace

Message::Parameter::Parameter(const char* text, void* pointer) : kind(pointerValue), name{}, value{}
{
    if (text) {
        std::strncpy(name, text, nameLength);
    }
    std::memcpy(value, &pointer, sizeof pointer);
}

void* Message::Parameter::operator new(std::size_t)
{
    Pools& made = pools();
    made.mutex.lock();
    void* slot = made.parameters.allocate();
    made.mutex.unlock();
    return slot;
}

void Message::Parameter::operator delete(void* slot)
{
    Pools& made = pools();
    made.mutex.lock();
    made.parameters.free(static_cast<Parameter*>(slot));
    made.mutex.unlock();
}

bool Message::Parameter::isNamed(const char* text) const
{
    return std::strncmp(name, text ? text : "", nameLength) == 0;
}

void* Message::Parameter::pointer() const
{
    if (kind != pointerValue) {
        return nullptr;
    }
    void* pointer;
    std::memcpy(&pointer, value, sizeof pointer);
    return pointer;
}

Message::Message(std::int32_t what, Handler* target)
    : queue(nullptr), next(nullptr), previous(nullptr), what(what), refCount(1), target(target)
{
}

void* Message::operator new(std::size_t)
{
    Pools& made = pools();
    made.mutex.lock();
    void* slot = made.messages.allocate();
    made.mutex.unlock();
    return slot;
}

void Message::operator delete(void* slot)
{
    Pools& made = pools();
    made.mutex.lock();
    made.messages.free(static_cast<Message*>(slot));
    made.mutex.unlock();
}

void Message::release()
{
    if (refCount.fetch_sub(1, std::memory_order_acq_rel) < 2) {
        delete this;
    }
}

Message::Parameter* Message::addParameter(const char* name, void* pointer)
{
    auto* parameter = new Parameter(name, pointer);
    parameters.append(parameter);
    return parameter;
}

Message::Parameter* Message::find(const char* name)
{
    for (Parameter& parameter : parameters) {
        if (parameter.isNamed(name)) {
            return &parameter;
        }
    }
    return nullptr;
}

} // namespace vardel::application
