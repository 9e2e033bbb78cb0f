#include "system/System.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

using vardel::system::System;

namespace {

// Runs body in a child process whose standard input reads input and whose standard output and
// error go to files of folder; returns the child's exit status.
template <typename Body>
int inChild(const TempFolder& folder, const std::string& input, Body body)
{
    std::string in = folder.write("in", input);
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        bool redirected = std::freopen(in.c_str(), "rb", stdin) && std::freopen((folder / "out").c_str(), "wb", stdout)
            && std::freopen((folder / "err").c_str(), "wb", stderr);
        int status = redirected ? body() : 99;
        std::fflush(nullptr);
        _exit(status);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(StandardStreams, transfersAreAllOrNothing)
{
    TempFolder folder;
    int status = inChild(folder, "hello world", [] {
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
    EXPECT_EQ(status, 0);
    EXPECT_EQ(folder.read("out"), "out");
    EXPECT_EQ(folder.read("err"), "err");
}
