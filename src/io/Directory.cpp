#include "io/Directory.h"

namespace vardel::io {

types::String Directory::getName() const
{
    return pattern;
}

bool Directory::scan(const char* pattern)
{
    this->pattern = pattern;
    return scan();
}

bool Directory::scan()
{
    nodes.clear();
    WIN32_FIND_DATAA record;
    HANDLE search = FindFirstFileA(pattern.chars(), &record);
    if (search == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_NO_MORE_FILES;
    }
    // A failing FindNextFileA ends the listing; what was found so far stays.
    do {
        nodes.resize(nodes.count + 1);
        nodes[nodes.count - 1].findData = record;
    } while (FindNextFileA(search, &record));
    FindClose(search);
    return true;
}

} // namespace vardel::io
