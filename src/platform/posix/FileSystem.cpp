#include "platform/posix/FileSystem.h"

#include <algorithm>
#include <cstdint>

namespace vardel::platform::posix {

std::string nativePath(LPCSTR path)
{
    std::string native(path);
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

bool describeFile(int folder, const char* path, int flags, struct statx& info)
{
    unsigned mask = STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_ATIME | STATX_MTIME | STATX_BTIME;
    return statx(folder, path, flags, mask, &info) == 0;
}

FILETIME toFileTime(const statx_timestamp& time)
{
    // Seconds from 1601-01-01 to 1970-01-01.
    constexpr std::int64_t epochDifference = 11644473600;
    std::int64_t seconds = time.tv_sec + epochDifference;
    std::uint64_t ticks = seconds < 0 ? 0 : static_cast<std::uint64_t>(seconds) * 10000000u + time.tv_nsec / 100;
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

FILETIME creationTime(const struct statx& info)
{
    return toFileTime(info.stx_mask & STATX_BTIME ? info.stx_btime : info.stx_mtime);
}

} // namespace vardel::platform::posix
