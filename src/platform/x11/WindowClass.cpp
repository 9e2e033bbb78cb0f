#include "platform/x11/WindowClass.h"

#include <map>
#include <memory>

#include "platform/posix/LastError.h"
#include "platform/x11/Lock.h"

namespace vardel::platform::x11 {

namespace {

// Never destroyed: windows may be created while the process exits.
struct ClassRegistry {
    Lock lock;
    std::map<std::string, std::unique_ptr<WindowClass>> classes;
    ATOM lastAtom = 0xC000;
};

ClassRegistry& registry()
{
    static ClassRegistry* classes = new ClassRegistry;
    return *classes;
}

} // namespace

ATOM WindowClass::add(const WNDCLASSEXA& description)
{
    if (!description.lpszClassName || !description.lpfnWndProc || description.cbWndExtra < 0 ||
        reinterpret_cast<ULONG_PTR>(description.lpszClassName) <= 0xFFFF) {
        posix::fail(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Lock::Hold hold(registry().lock);
    auto& slot = registry().classes[description.lpszClassName];
    if (slot) {
        posix::fail(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    slot = std::make_unique<WindowClass>();
    slot->name = description.lpszClassName;
    slot->atom = ++registry().lastAtom;
    slot->style = description.style;
    slot->procedure = description.lpfnWndProc;
    slot->extraBytes = description.cbWndExtra;
    slot->instance = description.hInstance;
    return slot->atom;
}

const WindowClass* WindowClass::find(LPCSTR name)
{
    if (!name) {
        return nullptr;
    }
    Lock::Hold hold(registry().lock);
    auto value = reinterpret_cast<ULONG_PTR>(name);
    if (value <= 0xFFFF) {
        for (const auto& [key, windowClass] : registry().classes) {
            if (windowClass->atom == value) {
                return windowClass.get();
            }
        }
        return nullptr;
    }
    auto found = registry().classes.find(name);
    return found == registry().classes.end() ? nullptr : found->second.get();
}

} // namespace vardel::platform::x11

using namespace vardel::platform::x11;

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName)
{
    // The program itself is the only module: its handle is any fixed non-null value.
    static char program;
    if (moduleName) {
        vardel::platform::posix::fail(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HMODULE>(&program);
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* windowClass)
{
    if (!windowClass || windowClass->cbSize != sizeof(WNDCLASSEXA)) {
        vardel::platform::posix::fail(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return WindowClass::add(*windowClass);
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name)
{
    // Only the system's stock resources exist; a token for each is enough to set in a class.
    auto value = reinterpret_cast<ULONG_PTR>(name);
    if (instance || value == 0 || value > 0xFFFF) {
        vardel::platform::posix::fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return reinterpret_cast<HICON>(value);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name)
{
    return LoadIconA(instance, name);
}
