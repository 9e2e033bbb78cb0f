// Lists a directory tree with sizes and times, or copies a file with progress, through the
// framework's directories and files; every failure of the file layer becomes one line.
//
//   files list FOLDER
//   files copy SOURCE TARGET      (never replaces an existing TARGET)
//
// What to copy for your own program: Directory::scan with a "folder/*" pattern and the records of
// its nodes; File::open / File::create and their streams; catching io::IOException (the root of
// the file layer's exceptions) and printing its toString(), the system's own reason.

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "object/Release.h"
#include "io/Directory.h"
#include "io/File.h"
#include "io/IOException.h"
#include "io/SystemFile.h"

using namespace vardel;

namespace {

// File times count 100-nanosecond steps since 1601-01-01 UTC; the C library counts seconds since 1970.
std::string formatTime(const FILETIME& time)
{
    std::uint64_t ticks = static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
    std::time_t seconds = static_cast<std::time_t>((ticks - 116444736000000000ull) / 10000000ull);
    char text[32] = "?";
    if (std::tm* utc = std::gmtime(&seconds)) {
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", utc);
    }
    return text;
}

bool isFolder(const WIN32_FIND_DATAA& entry)
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Prints the folder's entries, then the entries of each subfolder, indented by depth, and adds the
// bytes of its files to bytes. False when the folder cannot be read.
bool list(const std::string& folder, int depth, std::uint64_t& bytes)
{
    io::Directory directory;
    if (!directory.scan((folder + "/*").c_str())) {
        return false;
    }
    for (std::uint32_t i = 0; i < directory.nodes.count; ++i) {
        const WIN32_FIND_DATAA& entry = directory.nodes[i].findData;
        if (!std::strcmp(entry.cFileName, ".") || !std::strcmp(entry.cFileName, "..")) {
            continue;
        }
        std::string when = formatTime(entry.ftLastWriteTime);
        if (isFolder(entry)) {
            std::printf("%*s%s/  %s\n", depth * 2, "", entry.cFileName, when.c_str());
            if (!list(folder + "/" + entry.cFileName, depth + 1, bytes)) {
                std::printf("%*s(cannot be read)\n", depth * 2 + 2, "");
            }
        } else {
            std::uint64_t size = static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32 | entry.nFileSizeLow;
            std::printf("%*s%s  %" PRIu64 " bytes  %s\n", depth * 2, "", entry.cFileName, size, when.c_str());
            bytes += size;
        }
    }
    return true;
}

// Copies through the files' streams in blocks, printing the share done after each tenth.
void copy(const char* source, const char* target)
{
    io::SystemFile* from = io::File::open(source, io::File::readAccess);
    io::SystemFile* to = nullptr;
    try {
        to = io::File::create(target, io::File::writeAccess);
        io::InputStream* input = from->inputStream();
        io::OutputStream* output = to->outputStream();
        const int total = from->size();
        char block[64 * 1024];
        int copied = 0;
        int reported = -1;
        for (int count; (count = input->read(block, sizeof block)) > 0; copied += count) {
            if (output->write(block, count) != count) {
                throw io::FileWriteException();
            }
            int tenth = total > 0 ? static_cast<int>(10LL * (copied + count) / total) : 10;
            if (tenth != reported) {
                std::printf("copied %3d%% (%d of %d bytes)\n", tenth * 10, copied + count, total);
                reported = tenth;
            }
        }
        input->close();
        output->close();
        // Closing reports what a buffered write could not finish.
        to->close();
    } catch (...) {
        object::releaseAndClear(to);
        from->release();
        throw;
    }
    to->release();
    from->release();
}

int usage()
{
    std::fprintf(stderr, "usage: files list FOLDER | files copy SOURCE TARGET\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && !std::strcmp(argv[1], "list")) {
        std::uint64_t bytes = 0;
        if (!list(argv[2], 0, bytes)) {
            std::fprintf(stderr, "files: cannot list %s: no such folder, or it cannot be read\n", argv[2]);
            return 1;
        }
        std::printf("%" PRIu64 " bytes in all\n", bytes);
        return 0;
    }
    if (argc == 4 && !std::strcmp(argv[1], "copy")) {
        try {
            copy(argv[2], argv[3]);
            return 0;
        } catch (const io::IOException& e) {
            // getName() is the exception's short name, toString() the system's reason.
            std::fprintf(stderr, "files: cannot copy %s to %s: %s (%s)\n", argv[2], argv[3], e.toString().chars(),
                e.getName().chars());
            return 1;
        }
    }
    return usage();
}
