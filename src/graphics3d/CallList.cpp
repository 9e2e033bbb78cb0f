#include "graphics3d/CallList.h"

#include <algorithm>
#include <cstring>

namespace vardel::graphics3d {

CallList::CallList() : count(0), capacity(0), entries(nullptr) {}

CallList::~CallList()
{
    delete[] entries;
}

void CallList::appendMemberCall(void* object, Thunk thunk)
{
    append(objectKind).value.object = object;
    append(thunkKind).value.thunk = thunk;
}

CallList::Entry& CallList::append(Kind kind)
{
    if (count == capacity) {
        std::uint32_t newCapacity = capacity + std::clamp<std::uint32_t>(count, 4, 1024);
        Entry* newEntries = new Entry[newCapacity];
        if (count)
            std::memcpy(newEntries, entries, sizeof(Entry) * count);
        delete[] entries;
        entries = newEntries;
        capacity = newCapacity;
    }
    Entry& entry = entries[count++];
    entry.kind = kind;
    return entry;
}

} // namespace vardel::graphics3d
