#pragma once

#include "platform/OpenGL.h"

#include <bit>
#include <cstdint>
#include <type_traits>

namespace vardel::graphics3d {

// A recording of OpenGL calls and member calls, appended in call order for a later replay: the
// arguments of a call come first, one entry each in parameter order, then the call itself.
class CallList {
public:
    // A standard-call function, whatever its real signature.
    using Function = void(APIENTRY*)();
    // Calls one virtual operation on the object given to it.
    using Thunk = void (*)(void* object);

    // What an entry holds.
    enum Kind : std::uint32_t {
        thunkKind = 0,
        functionKind = 1,
        argumentKind = 4,
        objectKind = 5,
    };

    // 16 bytes on a 64-bit build: a kind, four bytes of padding and a pointer-sized value.
    struct Entry {
        // One of Kind.
        std::uint32_t kind;
        // The argument, function, thunk or object of the entry.
        union {
            std::uintptr_t argument;
            Function function;
            Thunk thunk;
            void* object;
        } value;
    };

    CallList();
    ~CallList();
    CallList(const CallList&) = delete;
    CallList& operator=(const CallList&) = delete;

    // Recording
    // Appends each argument (integers and enums as 32-bit values, floats as their 32-bit pattern,
    // pointers as addresses), then the function.
    template <typename Result, typename... Parameters, typename... Arguments>
    void appendCall(Result(APIENTRY* function)(Parameters...), Arguments... arguments)
    {
        static_assert(sizeof...(Parameters) == sizeof...(Arguments));
        (appendArgument(static_cast<Parameters>(arguments)), ...);
        Entry& entry = append(functionKind);
        entry.value.function = reinterpret_cast<Function>(function);
    }
    // Appends the object, then the thunk that makes the call on it.
    void appendMemberCall(void* object, Thunk thunk);

    // Entries recorded.
    std::uint32_t count;
    // Entries the storage holds room for.
    std::uint32_t capacity;
    // The recording, in call order.
    Entry* entries;

private:
    template <typename T>
    void appendArgument(T value)
    {
        Entry& entry = append(argumentKind);
        if constexpr (std::is_pointer_v<T>)
            entry.value.argument = reinterpret_cast<std::uintptr_t>(value);
        else if constexpr (std::is_floating_point_v<T>)
            entry.value.argument = std::bit_cast<std::uint32_t>(static_cast<float>(value));
        else
            entry.value.argument = static_cast<std::uint32_t>(value);
    }

    // Appends an entry of the kind, growing the storage when it is full: by the current count, but
    // by at least 4 and at most 1024 entries.
    Entry& append(Kind kind);
};

} // namespace vardel::graphics3d
