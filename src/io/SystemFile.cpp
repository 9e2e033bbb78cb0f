#include "io/SystemFile.h"

#include "io/IOException.h"

namespace vardel::io {

namespace {

// Slots of GetFileTime, in its argument order.
enum FileTimeSlot { creationSlot, accessSlot, writeSlot };

// One of the file's times; the zero timestamp when the system cannot tell.
Timestamp fileTime(HANDLE handle, FileTimeSlot slot)
{
    FILETIME time;
    FILETIME* slots[3] = {nullptr, nullptr, nullptr};
    slots[slot] = &time;
    if (!GetFileTime(handle, slots[creationSlot], slots[accessSlot], slots[writeSlot])) {
        return Timestamp();
    }
    return Timestamp(static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime);
}

} // namespace

SystemFile::SystemFile(HANDLE handle, bool readable, bool writable)
    : handle(handle), writable(writable), readable(readable)
{
}

SystemFile::~SystemFile()
{
    if (handle) {
        CloseHandle(handle);
    }
}

void SystemFile::close()
{
    if (!handle) {
        return;
    }
    HANDLE closing = handle;
    handle = nullptr;
    writable = false;
    readable = false;
    if (!CloseHandle(closing)) {
        IOException::throwLastError();
    }
}

int SystemFile::write(const void* buffer, int count)
{
    // A negative count would reach the system as a huge one.
    if (!writable || count < 0) {
        return 0;
    }
    DWORD written = 0;
    WriteFile(handle, buffer, static_cast<DWORD>(count), &written, nullptr);
    return static_cast<int>(written);
}

int SystemFile::read(void* buffer, int count)
{
    if (!readable || count < 0) {
        return 0;
    }
    DWORD got = 0;
    ReadFile(handle, buffer, static_cast<DWORD>(count), &got, nullptr);
    return static_cast<int>(got);
}

int SystemFile::seek(int offset, int mode)
{
    switch (mode) {
    case fromStart:
        return moveTo(offset, FILE_BEGIN);
    case fromCurrent:
        return moveTo(offset, FILE_CURRENT);
    case fromEnd:
        return moveTo(offset, FILE_END);
    default:
        throw IllegalPositionModeException();
    }
}

int SystemFile::moveTo(int offset, DWORD method)
{
    DWORD position = SetFilePointer(handle, offset, nullptr, method);
    if (position == INVALID_SET_FILE_POINTER) {
        IOException::throwLastError();
    }
    return static_cast<int>(position);
}

int SystemFile::position()
{
    return static_cast<int>(SetFilePointer(handle, 0, nullptr, FILE_CURRENT));
}

bool SystemFile::rewind()
{
    return moveTo(0, FILE_BEGIN) == 0;
}

bool SystemFile::flush()
{
    return FlushFileBuffers(handle) == TRUE;
}

int SystemFile::size()
{
    LONG current = static_cast<LONG>(SetFilePointer(handle, 0, nullptr, FILE_CURRENT));
    DWORD end = SetFilePointer(handle, 0, nullptr, FILE_END);
    SetFilePointer(handle, current, nullptr, FILE_BEGIN);
    return static_cast<int>(end);
}

int SystemFile::setSize(int length)
{
    if (!writable) {
        return 0;
    }
    LONG current = static_cast<LONG>(SetFilePointer(handle, 0, nullptr, FILE_CURRENT));
    // Truncating where the pointer happens to be when it cannot reach length would lose data.
    if (SetFilePointer(handle, length, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) {
        return 0;
    }
    BOOL resized = SetEndOfFile(handle);
    SetFilePointer(handle, current, nullptr, FILE_BEGIN);
    return resized ? length : 0;
}

bool SystemFile::isWritable() const
{
    return writable;
}

bool SystemFile::isReadable() const
{
    return readable;
}

Timestamp SystemFile::creationTime()
{
    return fileTime(handle, creationSlot);
}

Timestamp SystemFile::lastWriteTime()
{
    return fileTime(handle, writeSlot);
}

Timestamp SystemFile::lastAccessTime()
{
    return fileTime(handle, accessSlot);
}

} // namespace vardel::io
