#include "platform/x11/EntryPoints.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace vardel::platform::x11 {

namespace {

struct Entry {
    const char* name;
    const char* block;
};

// Sorted by name, byte by byte.
constexpr Entry entries[] = {
#include "GlEntryPoints.inc"
};

} // namespace

const char* EntryPoints::blockOf(const char* name)
{
    const Entry* found = std::lower_bound(std::begin(entries), std::end(entries), name,
                                          [](const Entry& entry, const char* key) { return std::strcmp(entry.name, key) < 0; });
    return found != std::end(entries) && std::strcmp(found->name, name) == 0 ? found->block : nullptr;
}

} // namespace vardel::platform::x11
