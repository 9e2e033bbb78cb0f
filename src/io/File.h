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

        // The stream of file's reads.
        explicit FileInputStream(File* file) : file(file) {}

        int read(void* buffer, int count) override;
        // May move past the end of the file, and then still reports the whole distance.
        int skip(int count) override;
        int available() override;
        bool close() override;

        // The file read; not a counted reference.
        File* file;
    };

    // Writes to the file as a stream.
    class FileOutputStream : public OutputStream {
        VARDEL_CLASS_PATH(OutputStream, FileOutputStream)

        // The stream of file's writes.
        explicit FileOutputStream(File* file) : file(file) {}

        int write(const void* buffer, int count) override;
        bool flush() override;
        bool close() override;

        // The file written; not a counted reference.
        File* file;
    };

    // Open flags
    // Open for reading.
    static constexpr unsigned readAccess = 1;
    // Open for writing.
    static constexpr unsigned writeAccess = 2;
    // Others may read the file while it is open, and it opens while others only read it: for
    // files that are read, never changed, by several programs at once.
    static constexpr unsigned shareReading = 4;

    // Seek modes: the origin of the offset.
    // From the start of the file.
    static constexpr int fromStart = 1;
    // From the current position.
    static constexpr int fromCurrent = 2;
    // From the end of the file.
    static constexpr int fromEnd = 3;

    File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Opening
    // Opens an existing file with the access of flags, exclusively unless they ask to share
    // reading. The caller owns the result.
    // Throws the IOException that stands for the system's reason when the file cannot be opened.
    static SystemFile* open(const char* name, unsigned flags);
    // Makes a new, empty file and opens it as open does; never replaces an existing file
    // (FileExistsException). The caller owns the result.
    static SystemFile* create(const char* name, unsigned flags);

    // Streams
    // Each stream handed out holds a reference on the file until it is closed, so the file
    // outlives every open stream; close() gives the reference back.
    InputStream* inputStream() override;
    // Hands out the file's output stream, holding a reference on the file until it is closed.
    OutputStream* outputStream() override;

    // Transfer: short counts, never exceptions.
    // Writes count bytes from buffer at the position; returns how many were written.
    virtual int write(const void* buffer, int count) = 0;
    // Reads at most count bytes into buffer from the position; returns how many were read.
    virtual int read(void* buffer, int count) = 0;

    // Position and size
    // Throws IllegalPositionModeException for a mode other than the three origins.
    virtual int seek(int offset, int mode) = 0;
    // The position of the next transfer, in bytes from the start.
    virtual int position() = 0;
    // Moves to the start of the file; true when it got there.
    virtual bool rewind() = 0;
    // Hands what the system buffers for the file to the disk; true on success.
    virtual bool flush() = 0;
    // The length of the file in bytes; the position stays where it was.
    virtual int size() = 0;
    // Makes the file length bytes long, cutting or extending it; returns length, or 0 when it cannot.
    virtual int setSize(int length) = 0;

    // Access and times
    // Whether the file was opened for writing.
    virtual bool isWritable() const = 0;
    // Whether the file was opened for reading.
    virtual bool isReadable() const = 0;
    // When the file was made.
    virtual Timestamp creationTime() = 0;
    // When the file was last written.
    virtual Timestamp lastWriteTime() = 0;
    // When the file was last read or written.
    virtual Timestamp lastAccessTime() = 0;

    // The stream that inputStream() hands out.
    FileInputStream input;
    // The stream that outputStream() hands out.
    FileOutputStream output;

private:
    static SystemFile* openAs(const char* name, unsigned flags, bool create);
    void handOut(Stream& stream);
    bool takeBack(Stream& stream);
};

} // namespace vardel::io
