#include "system/System.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using vardel::system::System;

namespace {

// Runs body in a child process (a death test, so that this process's streams stay as they are)
// whose standard input reads input and whose standard output and error go to files. The child
// exits with body's count of failures, plus one for each file not holding what was expected.
template <typename Body>
void expectInChild(const std::string& input, const std::string& out, const std::string& err, Body body)
{
    auto child = [&] {
        int failures = 0;
        {
            TempFolder folder;
            std::string in = folder.write("in", input);
            bool redirected = std::freopen(in.c_str(), "rb", stdin)
                && std::freopen((folder / "out").c_str(), "wb", stdout)
                && std::freopen((folder / "err").c_str(), "wb", stderr);
            failures = redirected ? body() : 99;
            std::fflush(nullptr);
            failures += folder.read("out") != out;
            failures += folder.read("err") != err;
            // Closed so that the folder can go.
            for (std::FILE* stream : {stdin, stdout, stderr}) {
                std::fclose(stream);
            }
        }
        std::_Exit(failures);
    };
    EXPECT_EXIT(child(), testing::ExitedWithCode(0), "");
}

} // namespace

TEST(StandardStreams, transfersAreAllOrNothing)
{
    expectInChild("hello world", "out", "err", [] {
        System::StandardInputStream& in = System::standardInput();
        char buffer[32] = {};
        int failures = 0;
        failures += in.read(buffer, 5) != 5 || std::string(buffer, 5) != "hello";
        failures += in.skip(1) != 1;
        failures += in.available() != 1;
        // Five bytes are left: a read of eight returns nothing, although it took them.
        failures += in.read(buffer, 8) != 0;
        failures += in.read(buffer, 1) != 0;
        failures += in.read(buffer, -1) != 0;
        failures += in.close();
        failures += System::standardOutput().write("out", 3) != 3;
        failures += System::standardOutput().write("out", -3) != 0;
        failures += !System::standardOutput().flush();
        failures += System::standardError().write("err", 3) != 3;
        failures += System::standardError().close();
        return failures;
    });
}
