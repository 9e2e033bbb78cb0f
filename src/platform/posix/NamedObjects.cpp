#include "platform/posix/NamedObjects.h"

#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vardel::platform::posix {

namespace {

// Never destroyed: handles may be closed by static destructors and threads still running at exit.
struct NameTable {
    std::mutex mutex;
    std::unordered_map<std::string, std::weak_ptr<HandleRecord>> objects;
};

NameTable& names()
{
    static NameTable* table = new NameTable;
    return *table;
}

// The name as the table keys it, or false for a name no object can have here.
bool normalName(std::string_view name, std::string& normal)
{
    constexpr std::string_view local = "Local\\";
    constexpr std::string_view global = "Global\\";
    std::string_view rest = name;
    if (rest.starts_with(local)) {
        rest.remove_prefix(local.size());
    } else if (rest.starts_with(global)) {
        rest.remove_prefix(global.size());
    }
    if (rest.find('\\') != std::string_view::npos) {
        return false;
    }
    normal = name.starts_with(global) ? std::string(name) : std::string(rest);
    return true;
}

} // namespace

HANDLE NamedObjects::open(LPCSTR name, const std::type_info& kind,
                          const std::function<std::shared_ptr<HandleRecord>()>& make)
{
    if (!name || !*name) {
        HANDLE handle = openHandle(make());
        SetLastError(ERROR_SUCCESS);
        return handle;
    }
    std::string key;
    if (!normalName(name, key)) {
        fail(ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    std::shared_ptr<HandleRecord> record;
    bool existed;
    {
        std::lock_guard lock(names().mutex);
        std::weak_ptr<HandleRecord>& entry = names().objects[key];
        record = entry.lock();
        existed = record != nullptr;
        if (existed) {
            const HandleRecord& object = *record;
            if (typeid(object) != kind) {
                fail(ERROR_INVALID_HANDLE);
                return nullptr;
            }
        } else {
            // The name goes with the last reference to the object, unless a new object has taken
            // it meanwhile.
            std::shared_ptr<HandleRecord> made = make();
            record = std::shared_ptr<HandleRecord>(made.get(), [made, key](HandleRecord*) mutable {
                {
                    std::lock_guard lock(names().mutex);
                    auto found = names().objects.find(key);
                    if (found != names().objects.end() && found->second.expired()) {
                        names().objects.erase(found);
                    }
                }
                made.reset();
            });
            entry = record;
        }
    }
    HANDLE handle = openHandle(std::move(record));
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

} // namespace vardel::platform::posix
