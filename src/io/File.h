#pragma once

#include "io/InputStream.h"
#include "io/OutputStream.h"
#include "io/StreamFactory.h"
#include "io/Timestamp.h"

namespace vardel::io {

class SystemFile;

// A file opened by name: read, written, positioned and sized directly, or through the input and
// output stream it hands out. Offsets and sizes are 32-bit.
class File : public StreamFactory {
    VARDEL_CLASS_PATH(StreamFactory, File)

    // Reads of the file as a stream.
    class FileInputStream : public InputStream {
        VARDEL_CLASS_PATH(InputStream, FileInputStream)

        explicit FileInputStream(File* file) : file(file) {}

        int read(void* buffer, int count) override;
        // May move past the end of the file, and then still reports the whole distance.
        int skip(int count) override;
        int available() override;
        bool close() override;

        File* file;
    };

    // Writes to the file as a stream.
    class FileOutputStream : public OutputStream {
        VARDEL_CLASS_PATH(OutputStream, FileOutputStream)

        explicit FileOutputStream(File* file) : file(file) {}

        int write(const void* buffer, int count) override;
        bool flush() override;
        bool close() override;

        File* file;
    };

    // Open flags
    static constexpr unsigned readAccess = 1;
    static constexpr unsigned writeAccess = 2;

    // Seek modes: the origin of the offset.
    static constexpr int fromStart = 1;
    static constexpr int fromCurrent = 2;
    static constexpr int fromEnd = 3;

    File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Opening
    // Opens an existing file, exclusively, with the access of flags. The caller owns the result.
    // Throws the IOException that stands for the system's reason when the file cannot be opened.
    static SystemFile* open(const char* name, unsigned flags);
    // Makes a new, empty file and opens it exclusively with the access of flags; never replaces
    // an existing file (FileExistsException). The caller owns the result.
    static SystemFile* create(const char* name, unsigned flags);

    // Streams
    // Each stream handed out holds a reference on the file until it is closed, so the file
    // outlives every open stream; close() gives the reference back.
    InputStream* inputStream() override;
    OutputStream* outputStream() override;

    // Transfer: short counts, never exceptions.
    virtual int write(const void* buffer, int count) = 0;
    virtual int read(void* buffer, int count) = 0;

    // Position and size
    // Throws IllegalPositionModeException for a mode other than the three origins.
    virtual int seek(int offset, int mode) = 0;
    virtual int position() = 0;
    virtual bool rewind() = 0;
    virtual bool flush() = 0;
    virtual int size() = 0;
    virtual int setSize(int length) = 0;

    // Access and times
    virtual bool isWritable() const = 0;
    virtual bool isReadable() const = 0;
    virtual Timestamp creationTime() = 0;
    virtual Timestamp lastWriteTime() = 0;
    virtual Timestamp lastAccessTime() = 0;

    FileInputStream input;
    FileOutputStream output;

private:
    static SystemFile* openAs(const char* name, unsigned flags, bool create);
    void handOut(Stream& stream);
    bool takeBack(Stream& stream);
};

} // namespace vardel::io
