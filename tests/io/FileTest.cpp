#include "io/File.h"
#include "io/IOException.h"
#include "io/SystemFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using vardel::io::File;
using vardel::io::FileNotFoundException;
using vardel::io::FileSeekException;
using vardel::io::IllegalPositionModeException;
using vardel::io::InputStream;
using vardel::io::IOException;
using vardel::io::OutputStream;
using vardel::io::SystemFile;

namespace {

const char* const sharingMessage = "The process cannot access the file because it is being used by another process.";

// A path as one argument of the command interpreter.
std::string commandArgument(const std::string& path)
{
#ifdef _WIN32
    return '"' + path + '"';
#else
    return "'" + path + "'";
#endif
}

// Starts the helper program that opens path in a process of its own; its output is read from the
// stream returned.
FILE* startHelper(const std::string& path, unsigned flags, const std::string& more = "")
{
    return popen((std::string(OPEN_HELPER) + " " + commandArgument(path) + " " + std::to_string(flags) + more).c_str(), "r");
}

// Runs the helper program on path; returns what it printed.
std::string openInOtherProcess(const std::string& path, unsigned flags)
{
    FILE* helper = startHelper(path, flags);
    char output[256] = {};
    std::size_t length = std::fread(output, 1, sizeof output - 1, helper);
    pclose(helper);
    return std::string(output, length);
}

// The class path and message of what File::open throws, or "opened".
std::string openOutcome(const std::string& path, unsigned flags)
{
    try {
        File::open(path.c_str(), flags)->release();
        return "opened";
    } catch (const IOException& e) {
        return std::string(e.className().chars()) + "|" + e.toString().chars();
    }
}

int openDescriptors()
{
#ifdef _WIN32
    DWORD handles = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);
    return static_cast<int>(handles);
#else
    int count = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
#endif
}

// Microseconds now, as 100-nanosecond intervals since 1601.
std::uint64_t fileTimeNow()
{
    auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(sinceEpoch).count()) * 10
        + 116444736000000000ull;
}

class FileTest : public ::testing::Test {
protected:
    TempFolder folder;
};

} // namespace

TEST_F(FileTest, missingFileIsNotFoundForEveryAccess)
{
    for (unsigned flags : {1u, 2u, 3u}) {
        try {
            File::open((folder / "missing.ttf").c_str(), flags);
            ADD_FAILURE() << "opened a missing file with flags " << flags;
        } catch (const FileNotFoundException& e) {
            EXPECT_EQ(e.toString(), "The system cannot find the file specified.");
            EXPECT_EQ(e.className(), "Object:Exception:IOException:FileNotFoundException");
        }
    }
    // A missing folder on the way is another code, which has no message of its own.
    EXPECT_EQ(openOutcome(folder / "nowhere/missing.ttf", 1), "Object:Exception:IOException|IOException");
    EXPECT_TRUE(std::filesystem::is_empty(folder.path));
}

TEST_F(FileTest, openFileIsExclusiveInThisProcess)
{
    std::string path = folder.write("held.bin", "x");
    std::filesystem::create_hard_link(path, folder / "alias.bin");
    SystemFile* held = File::open(path.c_str(), 1);
    for (unsigned flags : {1u, 2u, 3u}) {
        EXPECT_EQ(openOutcome(path, flags), std::string("Object:Exception:IOException|") + sharingMessage);
    }
    // The same file by another name is still the same file.
    EXPECT_EQ(openOutcome(folder / "alias.bin", 1), std::string("Object:Exception:IOException|") + sharingMessage);
    held->release();
    EXPECT_EQ(openOutcome(path, 3), "opened");
}

TEST_F(FileTest, openFileIsExclusiveAgainstOtherProcesses)
{
    std::string path = folder.write("held.bin", "x");
    SystemFile* held = File::open(path.c_str(), 1);
    EXPECT_EQ(openInOtherProcess(path, 1), std::string("Object:Exception:IOException|") + sharingMessage);
    held->release();
    EXPECT_EQ(openInOtherProcess(path, 3), "opened");

    // And the other way round: a file another process holds cannot be opened here. The helper
    // holds it until the release file appears.
    std::string release = folder / "release";
    FILE* holder = startHelper(path, 1, " hold " + commandArgument(release));
    char said[7] = {};
    EXPECT_EQ(std::fread(said, 1, 6, holder), 6u);
    EXPECT_STREQ(said, "opened");
    EXPECT_EQ(openOutcome(path, 1), std::string("Object:Exception:IOException|") + sharingMessage);
    folder.write("release", "");
    pclose(holder);
    EXPECT_EQ(openOutcome(path, 1), "opened");
}

TEST_F(FileTest, deniedAccessIsAPlainIOException)
{
    const std::string plain = "Object:Exception:IOException|IOException";
    // A directory is never a file, whatever the caller's privileges.
    std::filesystem::create_directory(folder / "folder.ttf");
    EXPECT_EQ(openOutcome(folder / "folder.ttf", 1), plain);

    // The kernel's own refusal: a private file opened by an unprivileged user. As root the test
    // becomes "nobody" in a child process, where permission bits hold again.
#ifdef _WIN32
    GTEST_SKIP() << "permission bits and a change of user are POSIX";
#else
    std::string path = folder.write("private.bin", "secret");
    chmod(folder.path.c_str(), 0755);
    chmod(path.c_str(), 0000);
    pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(3);
        }
        _exit(openOutcome(path, 1) == plain && openOutcome(path, 2) == plain ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}

TEST_F(FileTest, accessFlagsLimitTransfers)
{
    std::string path = folder.write("data.bin", "0123456789");
    char buffer[16] = {};

    SystemFile* reading = File::open(path.c_str(), 1 | 4 | 8);
    EXPECT_TRUE(reading->isReadable());
    EXPECT_FALSE(reading->isWritable());
    EXPECT_EQ(reading->write("abc", 3), 0);
    EXPECT_EQ(reading->setSize(2), 0);
    EXPECT_EQ(reading->read(buffer, -1), 0);
    EXPECT_EQ(reading->read(buffer, 16), 10);
    EXPECT_FALSE(reading->flush());
    reading->release();
    EXPECT_EQ(folder.read("data.bin"), "0123456789");

    SystemFile* writing = File::open(path.c_str(), 2);
    EXPECT_FALSE(writing->isReadable());
    EXPECT_EQ(writing->read(buffer, 4), 0);
    EXPECT_EQ(writing->write("ab", 2), 2);
    EXPECT_EQ(writing->write("ab", -2), 0);
    EXPECT_TRUE(writing->flush());
    writing->release();
    EXPECT_EQ(folder.read("data.bin"), "ab23456789");
}

TEST_F(FileTest, sizeAndSetSizeKeepThePosition)
{
    std::string path = folder.write("data.bin", "0123456789");
    SystemFile* file = File::open(path.c_str(), 3);
    EXPECT_EQ(file->seek(4, File::fromStart), 4);
    EXPECT_EQ(file->size(), 10);
    EXPECT_EQ(file->position(), 4);

    EXPECT_EQ(file->setSize(6), 6);
    EXPECT_EQ(file->size(), 6);
    EXPECT_EQ(file->position(), 4);
    EXPECT_EQ(file->setSize(20), 20);
    EXPECT_EQ(file->size(), 20);
    EXPECT_EQ(file->position(), 4);

    // A length the pointer cannot reach changes nothing, rather than cutting the file where the
    // pointer happens to be.
    EXPECT_EQ(file->setSize(-1), 0);
    EXPECT_EQ(file->size(), 20);
    EXPECT_EQ(file->position(), 4);
    file->release();
    EXPECT_EQ(folder.read("data.bin"), std::string("012345") + std::string(14, '\0'));
}

TEST_F(FileTest, seekModes)
{
    std::string path = folder.write("data.bin", "0123456789");
    SystemFile* file = File::open(path.c_str(), 1);
    EXPECT_EQ(file->seek(3, File::fromStart), 3);
    EXPECT_EQ(file->seek(2, File::fromCurrent), 5);
    char c = 0;
    EXPECT_EQ(file->read(&c, 1), 1);
    EXPECT_EQ(c, '5');
    EXPECT_EQ(file->seek(0, File::fromEnd), 10);
    EXPECT_EQ(file->seek(-3, File::fromEnd), 7);
    EXPECT_EQ(file->seek(5, File::fromEnd), 15);
    EXPECT_EQ(file->read(&c, 1), 0);

    for (int mode : {0, 4, -1}) {
        EXPECT_THROW(file->seek(5, mode), IllegalPositionModeException) << mode;
    }
    EXPECT_EQ(file->position(), 15);
    try {
        file->seek(5, 4);
    } catch (const FileSeekException& e) {
        EXPECT_EQ(e.toString(), "IllegalPositionModeException");
    }
    // Before the start is the system's refusal, which has no message of its own.
    try {
        file->seek(-1, File::fromStart);
        ADD_FAILURE() << "moved before the start";
    } catch (const IOException& e) {
        EXPECT_EQ(e.className(), "Object:Exception:IOException");
    }
    EXPECT_TRUE(file->rewind());
    EXPECT_EQ(file->position(), 0);
    file->release();
}

TEST_F(FileTest, streamsForwardToTheirFile)
{
    std::string path = folder.write("data.bin", "0123456789");
    SystemFile* file = File::open(path.c_str(), 3);
    InputStream* in = file->inputStream();
    OutputStream* out = file->outputStream();
    EXPECT_EQ(in->className(), "Object:Stream:InputStream:FileInputStream");
    EXPECT_EQ(out->className(), "Object:Stream:OutputStream:FileOutputStream");
    EXPECT_EQ(file->className(), "Object:StreamFactory:File:SystemFile");

    char buffer[4] = {};
    EXPECT_EQ(in->read(buffer, 2), 2);
    EXPECT_EQ(in->available(), 8);
    EXPECT_EQ(in->skip(3), 3);
    EXPECT_EQ(file->position(), 5);
    // Past the end the whole distance still counts.
    EXPECT_EQ(in->skip(100), 100);
    EXPECT_EQ(file->position(), 105);
    EXPECT_EQ(in->read(buffer, 4), 0);

    EXPECT_EQ(file->seek(0, File::fromStart), 0);
    EXPECT_EQ(out->write("ab", 2), 2);
    EXPECT_TRUE(out->flush());

    // Open streams keep their file alive after its owner let go of it.
    file->release();
    EXPECT_EQ(in->read(buffer, 2), 2);
    EXPECT_EQ(std::string(buffer, 2), "23");
    EXPECT_TRUE(out->close());
    EXPECT_FALSE(out->close());
    EXPECT_TRUE(in->close());
    EXPECT_EQ(folder.read("data.bin"), "ab23456789");
    // With the last stream closed, the file is closed and can be opened again.
    EXPECT_EQ(openOutcome(path, 3), "opened");
}

TEST_F(FileTest, closingReportsOnceAndEndsAccess)
{
    std::string path = folder.write("data.bin", "0123456789");
    SystemFile* file = File::open(path.c_str(), 3);
    file->close();
    EXPECT_FALSE(file->isReadable());
    char c;
    EXPECT_EQ(file->read(&c, 1), 0);
    EXPECT_THROW(file->seek(0, File::fromStart), IOException);
    EXPECT_NO_THROW(file->close());
    EXPECT_EQ(openOutcome(path, 3), "opened");
    file->release();
}

TEST_F(FileTest, fileTimesArePlausible)
{
    std::uint64_t before = fileTimeNow();
    std::string path = folder.write("data.bin", "0123456789");
    SystemFile* file = File::open(path.c_str(), 1);
    std::uint64_t after = fileTimeNow();
    // File systems keep coarse clocks: allow them a couple of seconds either way.
    const std::uint64_t slack = 20000000;
    for (auto time : {file->creationTime(), file->lastWriteTime(), file->lastAccessTime()}) {
        EXPECT_GE(time.time + slack, before);
        EXPECT_LE(time.time, after + slack);
    }
    EXPECT_LE(file->creationTime().time, file->lastWriteTime().time);
    EXPECT_EQ(file->lastWriteTime().className(), "Object:Timestamp");
    file->close();
    EXPECT_EQ(file->lastWriteTime().time, 0u);
    file->release();
}

TEST_F(FileTest, openingAndClosingLeaksNoDescriptor)
{
    std::string path = folder.write("data.bin", "0123456789");
    int before = openDescriptors();
    for (int i = 0; i < 10000; ++i) {
        SystemFile* file = File::open(path.c_str(), 1);
        if (i % 100 == 0) {
            // Refused opens must give their descriptor back too.
            EXPECT_THROW(File::open(path.c_str(), 1), IOException);
        }
        file->release();
    }
    if (before == 0) {
        GTEST_SKIP() << "this system does not count the process's handles (Wine)";
    }
    EXPECT_EQ(openDescriptors(), before);
}

TEST_F(FileTest, createMakesANewFileAndNeverReplacesOne)
{
    std::string path = folder / "made.bin";
    SystemFile* made = File::create(path.c_str(), File::readAccess | File::writeAccess);
    EXPECT_EQ(made->size(), 0);
    EXPECT_EQ(made->write("abc", 3), 3);
    // Exclusive like every open of the file layer.
    EXPECT_EQ(openOutcome(path, 1), std::string("Object:Exception:IOException|") + sharingMessage);
    made->release();
    EXPECT_EQ(std::filesystem::file_size(path), 3u);

    try {
        File::create(path.c_str(), File::writeAccess);
        ADD_FAILURE() << "created over an existing file";
    } catch (const vardel::io::FileExistsException& e) {
        EXPECT_EQ(e.toString(), "The file exists.");
    }
    EXPECT_EQ(std::filesystem::file_size(path), 3u);
    // A missing folder on the way is not created.
    EXPECT_EQ([&] {
        try {
            File::create((folder / "nowhere/made.bin").c_str(), File::writeAccess);
            return std::string("created");
        } catch (const IOException& e) {
            return std::string(e.className().chars());
        }
    }(), "Object:Exception:IOException");
    EXPECT_FALSE(std::filesystem::exists(folder / "nowhere"));
}
