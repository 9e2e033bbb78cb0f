#include "platform/Win32.h"
#include "platform/posix/LastError.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

HANDLE openExisting(const std::string& path, DWORD access, DWORD share = 0)
{
    return CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The error CreateFileA leaves for path, or ERROR_SUCCESS when it opened it.
DWORD openError(const std::string& path, DWORD access, DWORD share = 0)
{
    HANDLE file = openExisting(path, access, share);
    if (file == INVALID_HANDLE_VALUE) {
        return GetLastError();
    }
    CloseHandle(file);
    return ERROR_SUCCESS;
}

// Runs openError(path, access, share) in a child process; the error, or -1 when it has not
// returned within five seconds.
long openErrorWithin5s(const std::string& path, DWORD access, DWORD share = 0)
{
    int result[2];
    if (pipe(result) != 0) {
        return -2;
    }
    pid_t child = fork();
    if (child == 0) {
        DWORD error = openError(path, access, share);
        (void)!write(result[1], &error, sizeof error);
        _exit(0);
    }
    close(result[1]);
    long error = -1;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        if (waitpid(child, nullptr, WNOHANG) == child) {
            DWORD reported;
            error = read(result[0], &reported, sizeof reported) == sizeof reported ? static_cast<long>(reported) : -2;
            child = 0;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (child) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    close(result[0]);
    return error;
}

std::uint64_t ticks(const FILETIME& time)
{
    return static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

class Files : public ::testing::Test {
protected:
    TempFolder folder;
};

} // namespace

TEST_F(Files, openingNeverWaitsOnSpecialFiles)
{
    std::string fifo = folder / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0666), 0);
    std::string socketPath = folder / "socket";
    int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    listen(listener, 1);

    for (const std::string& path : {fifo, socketPath, std::string("/dev/null"), std::string("/dev/zero")}) {
        for (DWORD access : {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE}) {
            EXPECT_EQ(openErrorWithin5s(path, access), static_cast<long>(ERROR_ACCESS_DENIED)) << path << " " << access;
        }
    }
    close(listener);
}

TEST_F(Files, errnoBecomesWin32Codes)
{
    std::string file = folder.write("file", "x");
    std::filesystem::create_directory(folder / "folder");
    EXPECT_EQ(openError(folder / "missing", GENERIC_READ), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(openError(folder / "missing/file", GENERIC_READ), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(openError(folder / "file/inside", GENERIC_READ), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(openError(folder / "folder", GENERIC_READ), ERROR_ACCESS_DENIED);
    EXPECT_EQ(openError(folder.path + "\\file", GENERIC_READ), ERROR_SUCCESS);
    EXPECT_EQ(CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, CREATE_NEW, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    // Dispositions that the layer does not provide are refused as Win32 refuses unknown ones.
    EXPECT_EQ(CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, 2 /* CREATE_ALWAYS */, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(Files, errnoOfFullReadOnlyTakenAndUnseekableTargetsBecomeWin32Codes)
{
    using vardel::platform::posix::errorFromErrno;
    // The errno values come from real calls where the system can make them here.
    int full = open("/dev/full", O_WRONLY);
    ASSERT_GE(full, 0);
    EXPECT_EQ(write(full, "x", 1), -1);
    EXPECT_EQ(errorFromErrno(errno), ERROR_DISK_FULL);
    close(full);

    std::string file = folder.write("file", "x");
    EXPECT_EQ(open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600), -1);
    EXPECT_EQ(errorFromErrno(errno), ERROR_FILE_EXISTS);

    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    EXPECT_EQ(lseek(ends[0], 1, SEEK_SET), -1);
    EXPECT_EQ(errorFromErrno(errno), ERROR_SEEK);
    close(ends[0]);
    close(ends[1]);

    EXPECT_EQ(errorFromErrno(EROFS), ERROR_WRITE_PROTECT);
    EXPECT_EQ(errorFromErrno(EDQUOT), ERROR_DISK_FULL);
}

TEST_F(Files, shareModeDecidesWhoMayOpenTogether)
{
    std::string path = folder.write("file", "x");
    HANDLE shared = openExisting(path, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_NE(shared, INVALID_HANDLE_VALUE);
    HANDLE second = openExisting(path, GENERIC_READ, FILE_SHARE_READ);
    EXPECT_NE(second, INVALID_HANDLE_VALUE);
    EXPECT_EQ(openExisting(path, GENERIC_READ), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    CloseHandle(shared);
    CloseHandle(second);

    HANDLE exclusive = openExisting(path, GENERIC_READ);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    EXPECT_EQ(openExisting(path, GENERIC_READ, FILE_SHARE_READ), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_TRUE(CloseHandle(exclusive));
}

TEST_F(Files, betweenProcessesAnOpenWithoutSharingExcludesTheOthers)
{
    std::string path = folder.write("file", "x");
    constexpr DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE reader = openExisting(path, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(openErrorWithin5s(path, GENERIC_READ, FILE_SHARE_READ), static_cast<long>(ERROR_SUCCESS));
    EXPECT_EQ(openErrorWithin5s(path, GENERIC_READ, 0), static_cast<long>(ERROR_SHARING_VIOLATION));
    CloseHandle(reader);

    HANDLE exclusive = openExisting(path, GENERIC_READ | GENERIC_WRITE, 0);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    EXPECT_EQ(openErrorWithin5s(path, GENERIC_READ, shareAll), static_cast<long>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(openErrorWithin5s(path, 0, shareAll), static_cast<long>(ERROR_SUCCESS));
    CloseHandle(exclusive);
    EXPECT_EQ(openErrorWithin5s(path, GENERIC_WRITE, 0), static_cast<long>(ERROR_SUCCESS));
}

TEST_F(Files, transfersCheckAccessAndReportCounts)
{
    std::string path = folder.write("file", "0123456789");
    HANDLE file = openExisting(path, GENERIC_WRITE);
    char buffer[16];
    DWORD moved = 99;
    EXPECT_FALSE(ReadFile(file, buffer, 4, &moved, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(moved, 0u);
    CloseHandle(file);

    file = openExisting(path, GENERIC_READ);
    EXPECT_FALSE(SetEndOfFile(file));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(ReadFile(file, buffer, 16, &moved, nullptr));
    EXPECT_EQ(moved, 10u);
    // At the end a read succeeds with nothing.
    EXPECT_TRUE(ReadFile(file, buffer, 16, &moved, nullptr));
    EXPECT_EQ(moved, 0u);
    CloseHandle(file);
    EXPECT_FALSE(ReadFile(file, buffer, 1, &moved, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(Files, filePointerStaysWithin32BitsWithoutAHighPart)
{
    std::string path = folder.write("file", "0123456789");
    HANDLE file = openExisting(path, GENERIC_READ | GENERIC_WRITE);
    EXPECT_EQ(SetFilePointer(file, 4, nullptr, FILE_BEGIN), 4u);
    EXPECT_EQ(SetFilePointer(file, -11, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
    // Failures leave the pointer where it was.
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 4u);
    EXPECT_EQ(SetFilePointer(file, 0x7FFFFFFF, nullptr, FILE_CURRENT), 0x80000003u);
    EXPECT_EQ(SetFilePointer(file, 0x7FFFFFFF, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 0x80000003u);
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, 7), INVALID_SET_FILE_POINTER);

    LONG high = 1;
    EXPECT_EQ(SetFilePointer(file, 5, &high, FILE_BEGIN), 5u);
    EXPECT_EQ(high, 1);
    high = 0;
    EXPECT_EQ(SetFilePointer(file, 0, &high, FILE_CURRENT), 5u);
    EXPECT_EQ(high, 1);
    EXPECT_EQ(SetFilePointer(file, 3, nullptr, FILE_BEGIN), 3u);
    EXPECT_TRUE(SetEndOfFile(file));
    EXPECT_TRUE(FlushFileBuffers(file));
    CloseHandle(file);
    EXPECT_EQ(folder.read("file"), "012");
}

TEST_F(Files, timesCountFrom1601)
{
    std::string path = folder.write("file", "x");
    timespec times[2] = {{0, 0}, {1, 500}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    HANDLE file = openExisting(path, GENERIC_READ);
    FILETIME access{}, write{};
    ASSERT_TRUE(GetFileTime(file, nullptr, &access, &write));
    EXPECT_EQ(ticks(access), 116444736000000000ull);
    EXPECT_EQ(ticks(write), 116444736000000000ull + 10000000 + 5);
    CloseHandle(file);
}

TEST_F(Files, searchReportsWhyItFoundNothing)
{
    static_assert(sizeof(WIN32_FIND_DATAA) == 320);
    folder.write("a.ttf", "x");
    ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0666), 0);
    WIN32_FIND_DATAA data;
    EXPECT_EQ(FindFirstFileA((folder / "*.otf").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(FindFirstFileA((folder / "missing\\*").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);

    HANDLE search = FindFirstFileA((folder / "*").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(data.cFileName, ".");
    int entries = 1;
    while (FindNextFileA(search, &data)) {
        ++entries;
        if (std::string(data.cFileName) == "pipe") {
            EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DEVICE);
        }
    }
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_EQ(entries, 4);
    EXPECT_TRUE(FindClose(search));
    EXPECT_FALSE(FindNextFileA(search, &data));
}
