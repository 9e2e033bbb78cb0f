#include "platform/posix/Files.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <dirent.h>

#include "platform/posix/FileSystem.h"
#include "platform/posix/Handle.h"

namespace vardel::platform::posix {

namespace {

// The entries of one search, taken when it starts.
class SearchRecord : public HandleRecord {
public:
    std::vector<WIN32_FIND_DATAA> entries;
    std::atomic<std::size_t> next = 0;
};

char lowered(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Matches name against a pattern of '*' (any run of characters) and '?' (any one character),
// ignoring ASCII case. Every other character, '[' included, stands for itself.
bool matches(const char* pattern, const char* name)
{
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name) {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern == '?' || (*pattern && lowered(*pattern) == lowered(*name))) {
            ++pattern;
            ++name;
        } else if (star) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*') {
        ++pattern;
    }
    return *pattern == '\0';
}

// The entry name of folder as the search reports it; false when it has vanished meanwhile.
bool describe(int folder, const char* name, WIN32_FIND_DATAA& data)
{
    struct statx info;
    // A dangling symbolic link is reported as itself.
    if (!describeFile(folder, name, 0, info) && !describeFile(folder, name, AT_SYMLINK_NOFOLLOW, info)) {
        return false;
    }
    data = WIN32_FIND_DATAA{};
    if (S_ISDIR(info.stx_mode)) {
        data.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    } else if (!S_ISREG(info.stx_mode)) {
        data.dwFileAttributes = FILE_ATTRIBUTE_DEVICE;
    } else {
        data.dwFileAttributes = info.stx_mode & 0222 ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
        data.nFileSizeHigh = static_cast<DWORD>(info.stx_size >> 32);
        data.nFileSizeLow = static_cast<DWORD>(info.stx_size);
    }
    data.ftCreationTime = creationTime(info);
    data.ftLastAccessTime = toFileTime(info.stx_atime);
    data.ftLastWriteTime = toFileTime(info.stx_mtime);
    std::strncpy(data.cFileName, name, MAX_PATH - 1);
    return true;
}

// Appends the entries of folder that match pattern: "." and ".." first, then the others in the
// order the file system returns them. False with the reason set when the folder cannot be read.
bool collect(const std::string& folder, const char* pattern, std::vector<WIN32_FIND_DATAA>& entries)
{
    DIR* directory = opendir(folder.c_str());
    if (!directory) {
        fail(errno == ENOENT ? ERROR_PATH_NOT_FOUND : errorFromErrno(errno));
        return false;
    }
    WIN32_FIND_DATAA data;
    for (const char* dots : {".", ".."}) {
        if (matches(pattern, dots) && describe(dirfd(directory), dots, data)) {
            entries.push_back(data);
        }
    }
    while (dirent* entry = readdir(directory)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0 && matches(pattern, name)
            && describe(dirfd(directory), name, data)) {
            entries.push_back(data);
        }
    }
    closedir(directory);
    return true;
}

} // namespace

} // namespace vardel::platform::posix

using namespace vardel::platform::posix;

HANDLE WINAPI FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data)
{
    if (!pattern || !data) {
        fail(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::string path = nativePath(pattern);
    std::string::size_type slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    std::string namePattern = slash == std::string::npos ? path : path.substr(slash + 1);
    if (slash != std::string::npos && folder.find_first_of("*?") != std::string::npos) {
        fail(ERROR_INVALID_NAME);
        return INVALID_HANDLE_VALUE;
    }
    // "*.*" is the customary way to ask for every entry, names without a dot included.
    const char* wildcard = namePattern == "*.*" ? "*" : namePattern.c_str();
    auto search = std::make_shared<SearchRecord>();
    if (!collect(folder, wildcard, search->entries)) {
        return INVALID_HANDLE_VALUE;
    }
    if (search->entries.empty()) {
        fail(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    *data = search->entries[0];
    search->next = 1;
    return openHandle(std::move(search));
}

BOOL WINAPI FindNextFileA(HANDLE search, LPWIN32_FIND_DATAA data)
{
    std::shared_ptr<SearchRecord> record = findHandle<SearchRecord>(search);
    if (!record) {
        return FALSE;
    }
    std::size_t index = record->next.fetch_add(1);
    if (index >= record->entries.size()) {
        return fail(ERROR_NO_MORE_FILES);
    }
    *data = record->entries[index];
    return TRUE;
}

BOOL WINAPI FindClose(HANDLE search)
{
    return findHandle<SearchRecord>(search) ? CloseHandle(search) : FALSE;
}
