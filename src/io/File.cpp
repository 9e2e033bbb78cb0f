#include "io/File.h"

#include "io/IOException.h"
#include "io/SystemFile.h"
#include "platform/Win32.h"

namespace vardel::io {

File::File() : input(this), output(this) {}

SystemFile* File::open(const char* name, unsigned flags)
{
    return openAs(name, flags, false);
}

SystemFile* File::create(const char* name, unsigned flags)
{
    return openAs(name, flags, true);
}

SystemFile* File::openAs(const char* name, unsigned flags, bool create)
{
    DWORD access = 0;
    if (flags & readAccess) {
        access |= GENERIC_READ;
    }
    if (flags & writeAccess) {
        access |= GENERIC_WRITE;
    }
    DWORD share = (flags & shareReading) ? FILE_SHARE_READ : 0;
    HANDLE handle = CreateFileA(name, access, share, nullptr, create ? CREATE_NEW : OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        IOException::throwLastError();
    }
    return new SystemFile(handle, (flags & readAccess) != 0, (flags & writeAccess) != 0);
}

InputStream* File::inputStream()
{
    handOut(input);
    return &input;
}

OutputStream* File::outputStream()
{
    handOut(output);
    return &output;
}

void File::handOut(Stream& stream)
{
    stream.retain();
    retain();
}

bool File::takeBack(Stream& stream)
{
    // The stream's own first reference belongs to the file: only handed-out ones come back.
    if (stream.refCount <= 1) {
        return false;
    }
    stream.release();
    // May destroy this file and the stream with it.
    release();
    return true;
}

int File::FileInputStream::read(void* buffer, int count)
{
    return file->read(buffer, count);
}

int File::FileInputStream::skip(int count)
{
    int start = file->position();
    file->seek(count, fromCurrent);
    return file->position() - start;
}

int File::FileInputStream::available()
{
    return file->size() - file->position();
}

bool File::FileInputStream::close()
{
    return file->takeBack(*this);
}

int File::FileOutputStream::write(const void* buffer, int count)
{
    return file->write(buffer, count);
}

bool File::FileOutputStream::flush()
{
    return file->flush();
}

bool File::FileOutputStream::close()
{
    return file->takeBack(*this);
}

} // namespace vardel::io
