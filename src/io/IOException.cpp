#include "io/IOException.h"

#include "platform/Win32.h"

namespace vardel::io {

IOException::IOException() : Exception("IOException") {}

IOException::IOException(const char* message) : Exception(message) {}

types::String IOException::getName() const
{
    return "IOException";
}

void IOException::throwLastError()
{
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
        throw FileNotFoundException("The system cannot find the file specified.");
    case ERROR_TOO_MANY_OPEN_FILES:
        throw FileOpenException("The system cannot open the file.");
    case ERROR_WRITE_PROTECT:
        throw FileWriteException("The media is write protected.");
    case ERROR_SEEK:
        throw IOException("The drive cannot locate a specific area or track on the disk.");
    case ERROR_WRITE_FAULT:
        throw FileWriteException("The system cannot write to the specified device.");
    case ERROR_READ_FAULT:
        throw FileReadException("The system cannot read from the specified device.");
    case ERROR_SHARING_VIOLATION:
        throw IOException("The process cannot access the file because it is being used by another process.");
    case ERROR_WRONG_DISK:
        throw IOException("The wrong diskette is in the drive.");
    case ERROR_FILE_EXISTS:
        throw FileExistsException("The file exists.");
    case ERROR_OPEN_FAILED:
        throw FileOpenException("The system cannot open the device or file specified.");
    case ERROR_DISK_FULL:
        throw DiskFullException("There is not enough space on the disk.");
    case ERROR_SEEK_ON_DEVICE:
        throw FileSeekException("The file pointer cannot be set on the specified device or file.");
    case ERROR_UNRECOGNIZED_VOLUME:
        throw IOException("The volume does not contain a recognized file system.");
    case ERROR_FILE_INVALID:
        throw IOException("The volume for a file has been externally altered so that the opened file is no "
                          "longer valid.");
    case ERROR_UNRECOGNIZED_MEDIA:
        throw IOException("The disk media is not recognized. It may not be formatted.");
    default:
        throw IOException();
    }
}

} // namespace vardel::io
