#pragma once

#include <string>

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/posix/Files.h"

namespace vardel::platform::posix {

// The path with every '\' turned into '/'.
std::string nativePath(LPCSTR path);

// statx() of path relative to folder, asking for type, size and the three times.
bool describeFile(int folder, const char* path, int flags, struct statx& info);

// 100-nanosecond intervals since 1 January 1601, UTC; 0 for a time before then.
FILETIME toFileTime(const statx_timestamp& time);

// The birth time where the file system records one, else the last write time.
FILETIME creationTime(const struct statx& info);

} // namespace vardel::platform::posix
