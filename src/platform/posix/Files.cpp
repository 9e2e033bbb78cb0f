#include "platform/posix/Files.h"

#include <cerrno>
#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/FileSystem.h"
#include "platform/posix/Handle.h"

namespace vardel::platform::posix {

namespace {

// A file as the system knows it, whatever path it was opened by.
struct FileKey {
    dev_t device;
    ino_t inode;

    bool operator==(const FileKey&) const = default;
};

struct FileKeyHash {
    std::size_t operator()(const FileKey& key) const
    {
        return std::hash<dev_t>()(key.device) * 31 + std::hash<ino_t>()(key.inode);
    }
};

// How one open uses a file and what it lets others do meanwhile.
struct Sharing {
    bool read;
    bool write;
    bool shareRead;
    bool shareWrite;

    // Opens that neither read nor write (attribute and time queries) conflict with nobody.
    bool takesPart() const { return read || write; }
};

// The opens of one file that this process holds, counted as Win32 counts them: a new open must
// share what every holder does, and do only what every holder shares.
struct Holders {
    int opens = 0;
    int readers = 0;
    int writers = 0;
    int sharingRead = 0;
    int sharingWrite = 0;

    bool admits(const Sharing& open) const
    {
        return !(open.read && sharingRead < opens) && !(open.write && sharingWrite < opens)
            && !(readers > 0 && !open.shareRead) && !(writers > 0 && !open.shareWrite);
    }

    void add(const Sharing& open, int step)
    {
        opens += step;
        readers += open.read ? step : 0;
        writers += open.write ? step : 0;
        sharingRead += open.shareRead ? step : 0;
        sharingWrite += open.shareWrite ? step : 0;
    }
};

// The share table decides between the opens of this process. Between processes flock() decides,
// and it knows only two kinds: an open that shares neither reading nor writing takes the file
// exclusively, every other one takes it shared. That is never stricter than the table, so within
// the process the table alone has the say. The table's lock orders opens and closes so that no
// open sees a lock that a close is about to drop. Never destroyed: files may be closed by static
// destructors.
struct ShareTable {
    std::mutex mutex;
    std::unordered_map<FileKey, Holders, FileKeyHash> files;
};

ShareTable& shares()
{
    static ShareTable* table = new ShareTable;
    return *table;
}

class FileRecord : public HandleRecord {
public:
    FileRecord(int fd, FileKey key, DWORD access, Sharing sharing) : fd(fd), key(key), access(access), sharing(sharing)
    {
    }

    ~FileRecord() override
    {
        std::lock_guard lock(shares().mutex);
        ::close(fd);
        if (sharing.takesPart()) {
            auto found = shares().files.find(key);
            found->second.add(sharing, -1);
            if (found->second.opens == 0) {
                shares().files.erase(found);
            }
        }
    }

    const int fd;
    const FileKey key;
    const DWORD access;
    const Sharing sharing;
};

// Registers an open of key in the share table and takes the matching flock(); false when the
// file is held in a way that excludes this open.
bool share(int fd, FileKey key, const Sharing& open)
{
    if (!open.takesPart()) {
        return true;
    }
    std::lock_guard lock(shares().mutex);
    Holders& holders = shares().files[key];
    bool free = holders.admits(open);
    bool exclusive = !open.shareRead && !open.shareWrite;
    // Any other flock() failure (a file system without locks) leaves the process-wide check alone.
    if (free && flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        free = false;
    }
    if (!free) {
        if (holders.opens == 0) {
            shares().files.erase(key);
        }
        return false;
    }
    holders.add(open, 1);
    return true;
}

// The code for a path that does not exist: ERROR_PATH_NOT_FOUND when already its folder is missing.
DWORD missingPathError(const std::string& path)
{
    std::string::size_type slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0) {
        return ERROR_FILE_NOT_FOUND;
    }
    struct stat folder;
    bool found = stat(path.substr(0, slash).c_str(), &folder) == 0 && S_ISDIR(folder.st_mode);
    return found ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

HANDLE failOpen(DWORD error)
{
    fail(error);
    return INVALID_HANDLE_VALUE;
}

// The file record behind handle when it was opened with access; otherwise null with the reason set.
std::shared_ptr<FileRecord> findFile(HANDLE file, DWORD access)
{
    std::shared_ptr<FileRecord> record = findHandle<FileRecord>(file);
    if (record && (record->access & access) != access) {
        fail(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return record;
}

// Repeats step (a read or a write) until count bytes have moved, step moves none or it fails.
template <typename Step>
BOOL transfer(HANDLE file, DWORD access, DWORD count, LPDWORD done, LPOVERLAPPED overlapped, DWORD ioError,
              Step step)
{
    if (!done || overlapped) {
        return fail(ERROR_INVALID_PARAMETER);
    }
    *done = 0;
    std::shared_ptr<FileRecord> record = findFile(file, access);
    if (!record) {
        return FALSE;
    }
    while (*done < count) {
        ssize_t moved = step(record->fd, *done, count - *done);
        if (moved > 0) {
            *done += static_cast<DWORD>(moved);
        } else if (moved == 0) {
            break;
        } else if (errno != EINTR) {
            return errno == EIO ? fail(ioError) : failWithErrno(errno);
        }
    }
    return TRUE;
}

} // namespace

} // namespace vardel::platform::posix

using namespace vardel::platform::posix;

HANDLE WINAPI CreateFileA(LPCSTR name, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES,
                          DWORD creationDisposition, DWORD, HANDLE)
{
    bool creating = creationDisposition == CREATE_NEW;
    if (!name || (!creating && creationDisposition != OPEN_EXISTING)) {
        return failOpen(ERROR_INVALID_PARAMETER);
    }
    if (!*name) {
        return failOpen(ERROR_PATH_NOT_FOUND);
    }
    std::string path = nativePath(name);
    struct stat info;
    // Looking before opening keeps open() away from FIFOs, which would wait for a writer, and from
    // devices, which may act on being opened. A new file is made with O_EXCL, which follows no link
    // and opens nothing that exists.
    if (!creating) {
        if (stat(path.c_str(), &info) != 0) {
            return failOpen(errno == ENOENT ? missingPathError(path) : errorFromErrno(errno));
        }
        if (!S_ISREG(info.st_mode)) {
            return failOpen(ERROR_ACCESS_DENIED);
        }
    }
    bool reading = desiredAccess & GENERIC_READ;
    bool writing = desiredAccess & GENERIC_WRITE;
    int mode = reading && writing ? O_RDWR : writing ? O_WRONLY : O_RDONLY;
    if (creating) {
        mode |= O_CREAT | O_EXCL;
    }
    // O_NONBLOCK still covers a path swapped for a FIFO after the look; regular files ignore it.
    int fd = open(path.c_str(), mode | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        return failOpen(errno == ENOENT ? missingPathError(path) : errorFromErrno(errno));
    }
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return failOpen(ERROR_ACCESS_DENIED);
    }
    FileKey key{info.st_dev, info.st_ino};
    Sharing sharing{reading, writing, (shareMode & FILE_SHARE_READ) != 0, (shareMode & FILE_SHARE_WRITE) != 0};
    if (!share(fd, key, sharing)) {
        close(fd);
        return failOpen(ERROR_SHARING_VIOLATION);
    }
    return openHandle(std::make_shared<FileRecord>(fd, key, desiredAccess & (GENERIC_READ | GENERIC_WRITE), sharing));
}

BOOL WINAPI ReadFile(HANDLE file, LPVOID buffer, DWORD count, LPDWORD read, LPOVERLAPPED overlapped)
{
    auto bytes = static_cast<char*>(buffer);
    return transfer(file, GENERIC_READ, count, read, overlapped, ERROR_READ_FAULT,
                    [bytes](int fd, DWORD done, DWORD left) { return ::read(fd, bytes + done, left); });
}

BOOL WINAPI WriteFile(HANDLE file, LPCVOID buffer, DWORD count, LPDWORD written, LPOVERLAPPED overlapped)
{
    auto bytes = static_cast<const char*>(buffer);
    return transfer(file, GENERIC_WRITE, count, written, overlapped, ERROR_WRITE_FAULT,
                    [bytes](int fd, DWORD done, DWORD left) { return ::write(fd, bytes + done, left); });
}

DWORD WINAPI SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD method)
{
    std::shared_ptr<FileRecord> record = findFile(file, 0);
    if (!record) {
        return INVALID_SET_FILE_POINTER;
    }
    std::int64_t offset = distance;
    if (distanceHigh) {
        offset = static_cast<std::int64_t>(static_cast<std::uint64_t>(*distanceHigh) << 32 | static_cast<DWORD>(distance));
    }
    off_t base = 0;
    struct stat info;
    if (method == FILE_CURRENT) {
        base = lseek(record->fd, 0, SEEK_CUR);
    } else if (method == FILE_END) {
        base = fstat(record->fd, &info) == 0 ? info.st_size : -1;
    } else if (method != FILE_BEGIN) {
        fail(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (base < 0) {
        failWithErrno(errno);
        return INVALID_SET_FILE_POINTER;
    }
    std::int64_t target;
    if (__builtin_add_overflow(static_cast<std::int64_t>(base), offset, &target)
        || (!distanceHigh && target >= static_cast<std::int64_t>(INVALID_SET_FILE_POINTER))) {
        fail(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (target < 0) {
        fail(ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    if (lseek(record->fd, target, SEEK_SET) < 0) {
        failWithErrno(errno);
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh) {
        *distanceHigh = static_cast<LONG>(target >> 32);
        SetLastError(ERROR_SUCCESS);
    }
    return static_cast<DWORD>(target);
}

BOOL WINAPI SetEndOfFile(HANDLE file)
{
    std::shared_ptr<FileRecord> record = findFile(file, GENERIC_WRITE);
    if (!record) {
        return FALSE;
    }
    off_t position = lseek(record->fd, 0, SEEK_CUR);
    if (position < 0 || ftruncate(record->fd, position) != 0) {
        return failWithErrno(errno);
    }
    return TRUE;
}

BOOL WINAPI FlushFileBuffers(HANDLE file)
{
    std::shared_ptr<FileRecord> record = findFile(file, GENERIC_WRITE);
    if (!record) {
        return FALSE;
    }
    return fsync(record->fd) == 0 ? TRUE : failWithErrno(errno);
}

BOOL WINAPI GetFileTime(HANDLE file, LPFILETIME creation, LPFILETIME lastAccess, LPFILETIME lastWrite)
{
    std::shared_ptr<FileRecord> record = findFile(file, 0);
    if (!record) {
        return FALSE;
    }
    struct statx info;
    if (!describeFile(record->fd, "", AT_EMPTY_PATH, info)) {
        return failWithErrno(errno);
    }
    if (creation) {
        *creation = creationTime(info);
    }
    if (lastAccess) {
        *lastAccess = toFileTime(info.stx_atime);
    }
    if (lastWrite) {
        *lastWrite = toFileTime(info.stx_mtime);
    }
    return TRUE;
}
