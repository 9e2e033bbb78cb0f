#pragma once

#include "io/File.h"
#include "platform/Win32.h"

namespace vardel::io {

// A file of the operating system, reached through its handle.
class SystemFile : public File {
    VARDEL_CLASS_PATH(File, SystemFile)

    // Takes over an open handle with the access it was opened with.
    SystemFile(HANDLE handle, bool readable, bool writable);
    // Closes the handle if close() has not; a failure can no longer be reported then.
    ~SystemFile() override;

    // Transfer
    int write(const void* buffer, int count) override;
    int read(void* buffer, int count) override;

    // Position and size
    int seek(int offset, int mode) override;
    int position() override;
    bool rewind() override;
    bool flush() override;
    int size() override;
    int setSize(int length) override;

    // Access and times
    bool isWritable() const override;
    bool isReadable() const override;
    Timestamp creationTime() override;
    Timestamp lastWriteTime() override;
    Timestamp lastAccessTime() override;

    // Closing
    // Closes the handle and drops both kinds of access; throws the IOException that stands for
    // the system's reason when the handle cannot be closed. Closing again does nothing.
    void close();

    // The system's handle of the open file; invalid once closed.
    HANDLE handle;
    // Whether writes reach the file.
    bool writable;
    // Whether reads reach the file.
    bool readable;

private:
    // Moves the file pointer, throwing when the system refuses.
    int moveTo(int offset, DWORD method);
};

} // namespace vardel::io
