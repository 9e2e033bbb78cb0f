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
    // Full batches of free slots that threads handed back (see SlotStock), each a chain taken
    // back whole: stocking up then costs one step instead of a walk down the pool's free list
    // through slots last written on other threads, one cache miss after another under the lock.
    void* parameterBatches = nullptr;
    void* messageBatches = nullptr;
    system::Mutex mutex;
};

Pools& pools()
{
    static Pools* made = new Pools;
    return *made;
}

[[maybe_unused]] Pools& madeBeforeMain = pools();

// A thread's own stock of free slots of one pool, in front of the shared pool: a record made and
// dropped on one thread takes no lock, and records made on one thread and dropped on another move
// between the threads and the pool a batch at a time, under one lock each way. A slot dropped
// last is the next one its thread takes. The stock goes back to the pool when its thread ends.
template <typename T, container::Allocator<T> Pools::*pool, void* Pools::*batches>
class SlotStock {
public:
    // Slots moved between the stock and the pool under one lock.
    static constexpr int batch = 32;

    constexpr SlotStock() = default;
    SlotStock(const SlotStock&) = delete;
    SlotStock& operator=(const SlotStock&) = delete;

    ~SlotStock()
    {
        while (count >= batch) {
            handBackBatch();
        }
        Pools& made = pools();
        made.mutex.lock();
        while (first) {
            (made.*pool).free(static_cast<T*>(pop()));
        }
        // Records may still be dropped on this thread after its stock went (at exit, by static
        // destructors); those go to the pool directly.
        ended = true;
        made.mutex.unlock();
    }

    void* take()
    {
        if (!first) {
            Pools& made = pools();
            made.mutex.lock();
            if (ended) {
                void* slot = (made.*pool).allocate();
                made.mutex.unlock();
                return slot;
            }
            if (auto* front = static_cast<Link*>(made.*batches)) {
                made.*batches = front->nextBatch;
                first = front;
                count = batch;
            } else {
                for (int i = 0; i < batch; ++i) {
                    push((made.*pool).allocate());
                }
            }
            made.mutex.unlock();
        }
        return pop();
    }

    void give(void* slot)
    {
        if (ended) {
            Pools& made = pools();
            made.mutex.lock();
            (made.*pool).free(static_cast<T*>(slot));
            made.mutex.unlock();
            return;
        }
        push(slot);
        if (count > 2 * batch) {
            handBackBatch();
        }
    }

private:
    // A free slot's first words: the next slot of the stock or batch, and in the front slot of a
    // batch handed back, the next batch.
    struct Link {
        Link* next;
        Link* nextBatch;
    };
    static_assert(sizeof(T) >= sizeof(Link));

    void push(void* slot)
    {
        auto* link = static_cast<Link*>(slot);
        link->next = first;
        first = link;
        ++count;
    }

    void* pop()
    {
        Link* link = first;
        first = link->next;
        --count;
        if (first) {
            // The next slot was most likely last written on another thread: fetch it now, so
            // that it is here by the time this thread takes it.
            for (std::size_t offset = 0; offset < sizeof(T); offset += 64) {
                __builtin_prefetch(reinterpret_cast<char*>(first) + offset, 1);
            }
        }
        return link;
    }

    // Hands the front batch of the stock back to the pool as one chain.
    void handBackBatch()
    {
        Link* front = first;
        Link* back = front;
        for (int i = 1; i < batch; ++i) {
            back = back->next;
        }
        first = back->next;
        back->next = nullptr;
        count -= batch;
        Pools& made = pools();
        made.mutex.lock();
        front->nextBatch = static_cast<Link*>(made.*batches);
        made.*batches = front;
        made.mutex.unlock();
    }

    Link* first = nullptr;
    int count = 0;
    bool ended = false;
};

thread_local SlotStock<Message::Parameter, &Pools::parameters, &Pools::parameterBatches> parameterStock;
thread_local SlotStock<Message, &Pools::messages, &Pools::messageBatches> messageStock;

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
    return parameterStock.take();
}

void Message::Parameter::operator delete(void* slot)
{
    parameterStock.give(slot);
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
    return messageStock.take();
}

void Message::operator delete(void* slot)
{
    messageStock.give(slot);
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
