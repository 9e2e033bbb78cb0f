#pragma once

#include "io/InputStream.h"
#include "io/OutputStream.h"

#include <cstdio>

namespace vardel::system {

// The process's standard input, output and error as streams over the C library's stdin, stdout
// and stderr. Transfers are all or nothing: a count comes back whole or as 0.
class System {
public:
    // The process's standard input as a stream.
    class StandardInputStream : public io::InputStream {
    public:
        // Returns 0 when fewer than count bytes came, although those were consumed.
        int read(void* buffer, int count) override;
        int skip(int count) override;
        int available() override;
        // The process keeps its standard streams: does nothing and returns false.
        bool close() override;
    };

    // The process's standard output (or another C stream) as a stream.
    class StandardOutputStream : public io::OutputStream {
    public:
        StandardOutputStream() : StandardOutputStream(stdout) {}

        int write(const void* buffer, int count) override;
        bool flush() override;
        // The process keeps its standard streams: does nothing and returns false.
        bool close() override;

    protected:
        // A stream over target.
        explicit StandardOutputStream(std::FILE* target) : target(target) {}

    private:
        std::FILE* target;
    };

    // The process's standard error as a stream.
    class StandardErrorStream : public StandardOutputStream {
    public:
        StandardErrorStream() : StandardOutputStream(stderr) {}
    };

    // Each is made on first use and lives until the process exits.
    static StandardInputStream& standardInput();
    // The standard output stream.
    static StandardOutputStream& standardOutput();
    // The standard error stream.
    static StandardErrorStream& standardError();
};

} // namespace vardel::system
