#pragma once

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

// The demo in its own process, started by the command given in the working folder given, its
// stderr in a file of that folder or of the error folder given.
class Demo {
public:
    Demo(const std::string& workingFolder, const std::vector<std::string>& command, const char* display = nullptr,
         const std::string& errorFolder = {})
        : errorPath((errorFolder.empty() ? workingFolder : errorFolder) + "/stderr.txt")
    {
        pid = fork();
        if (pid == 0) {
            if (chdir(workingFolder.c_str()) != 0) {
                _exit(126);
            }
            int error = open(errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(error, STDERR_FILENO);
            // The demo starts with the three standard streams alone, as from a shell, whatever
            // the test runner left open.
            closefrom(STDERR_FILENO + 1);
            if (display) {
                setenv("DISPLAY", display, 1);
            }
            std::vector<char*> arguments;
            for (const std::string& argument : command) {
                arguments.push_back(const_cast<char*>(argument.c_str()));
            }
            arguments.push_back(nullptr);
            execvp(arguments[0], arguments.data());
            _exit(127);
        }
    }
    ~Demo()
    {
        if (pid > 0 && !status) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    // The exit status once the process has ended within the time given, or -1.
    int exitWithin(std::chrono::milliseconds limit)
    {
        auto end = std::chrono::steady_clock::now() + limit;
        while (!status) {
            int raw = 0;
            if (waitpid(pid, &raw, WNOHANG) == pid) {
                status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
            } else if (std::chrono::steady_clock::now() > end) {
                return -1;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
        return *status;
    }

    std::string errorOutput() const
    {
        std::string text;
        if (FILE* file = fopen(errorPath.c_str(), "r")) {
            char buffer[512];
            size_t read = 0;
            while ((read = fread(buffer, 1, sizeof buffer, file)) > 0) {
                text.append(buffer, read);
            }
            fclose(file);
        }
        return text;
    }

    pid_t pid = -1;

private:
    std::string errorPath;
    std::optional<int> status;
};
