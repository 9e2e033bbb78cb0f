#pragma once

#include <functional>
#include <memory>
#include <typeinfo>

#include "platform/posix/Handle.h"

namespace vardel::platform::posix {

// The names of events and waitable timers: one namespace for both kinds, within the process. A
// name lives as long as its object has a handle open (or a wait still using it).
class NamedObjects {
public:
    // A new handle on the object of kind T called name, made by make() when no live object has
    // that name; a null or empty name always makes a new, unnamed one. The last error is
    // ERROR_ALREADY_EXISTS when the object existed before and ERROR_SUCCESS otherwise. Null with
    // ERROR_INVALID_HANDLE when the name belongs to an object of another kind, and with
    // ERROR_PATH_NOT_FOUND when it holds a '\' other than after the "Local\" or "Global\" prefix
    // ("Local\x" and "x" are the same name).
    template <typename T, typename Make>
    static HANDLE open(LPCSTR name, Make make)
    {
        return open(name, typeid(T), [&make]() -> std::shared_ptr<HandleRecord> { return make(); });
    }

private:
    static HANDLE open(LPCSTR name, const std::type_info& kind, const std::function<std::shared_ptr<HandleRecord>()>& make);
};

} // namespace vardel::platform::posix
