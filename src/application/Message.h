#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "container/Chain.h"
#include "container/Chainable.h"
#include "container/Queue.h"
#include "application/Forward.h"

namespace vardel::application {

// The unit of work handed between threads: a code, the handler that is to serve it and a chain of
// named parameters. Messages and parameters made with new come from two process-wide pools; a
// message may also live on the stack when it is served at once.
class Message {
public:
    // A named value of a message. The message's chain owns its parameters outright: its hold is
    // not counted, and dropping it destroys the parameter and returns its slot to the pool.
    class Parameter : public container::Chainable<Parameter> {
    public:
        // What the value bytes hold.
        enum Kind : std::uint32_t { empty = 0, pointerValue = 1 };
        // A name keeps at most this many characters and its terminator; longer names are cut.
        static constexpr std::size_t nameLength = 47;

        // A parameter named name (cut to nameLength characters) carrying pointer.
        Parameter(const char* name, void* pointer);
        Parameter(const Parameter&) = delete;
        Parameter& operator=(const Parameter&) = delete;

        // Pool
        // A slot from the calling thread's stock or the parameter pool.
        static void* operator new(std::size_t size);
        // Hands the slot back to the calling thread's stock or the pool.
        static void operator delete(void* slot);

        // The chain's hold
        // Taking the chain's hold counts nothing.
        void retain() {}
        // Dropping the chain's hold destroys the parameter.
        void release() { delete this; }

        // Value
        // Whether name, cut as a parameter's name is cut, is this parameter's name.
        bool isNamed(const char* name) const;
        // The pointer the parameter carries, or null when it carries none.
        void* pointer() const;

        // What value holds.
        Kind kind;
        // The name and its terminator.
        char name[nameLength + 1];
        // The value's bytes: a pointer for pointerValue.
        alignas(8) unsigned char value[16];
    };

    // A message with one count, held by its maker.
    Message(std::int32_t what, Handler* target);
    Message(const Message&) = delete;
    Message& operator=(const Message&) = delete;

    // Pool
    // A slot from the calling thread's stock or the message pool.
    static void* operator new(std::size_t size);
    // Hands the slot back to the calling thread's stock or the pool.
    static void operator delete(void* slot);

    // Holding
    // Drops one count; the last (a count below 2) destroys the message and its parameters and
    // returns it to the pool. Destroying without the count is plain delete.
    void release();

    // Parameters
    // Appends a parameter carrying pointer; null names are taken as empty.
    Parameter* addParameter(const char* name, void* pointer);
    // The first parameter, from the front, with that name; null if there is none.
    Parameter* find(const char* name);

    // The queue the message waits in, or null.
    container::Queue<Message>* queue;
    // The message behind this one in its queue, or null.
    Message* next;
    // The message ahead of this one in its queue, or null.
    Message* previous;
    // The message code: what the target is asked to do.
    std::int32_t what;
    // Atomic, as every count of something handed between threads.
    std::atomic<std::int32_t> refCount;
    // The named values, in the order they were added.
    container::Chain<Parameter> parameters;
    // The handler that serves the message; not a counted reference.
    Handler* target;
};

} // namespace vardel::application
