#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XRes.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "application/Handler.h"
#include "application/Message.h"
#include "application/Messenger.h"
#include "gui/Window.h"

#include "support/CloseBox.h"
#include "support/XInput.h"

// What the window tests share: running code on a window's thread, waiting for what its thread
// does, a log of hook calls, and an X connection of the test's own that finds windows and makes
// input as a user (or a window manager) would.
namespace guitesting {

// Waits, polling, until done() holds; false on time-out.
inline bool waitUntil(const std::function<bool()>& done, int milliseconds = 3000)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// Entries of a folder of /proc/self: threads in task, descriptors in fd.
inline int countEntries(const char* folder)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        (void)entry;
        ++count;
    }
    return count;
}

// Threads that end are gone from /proc a moment after whoever joined them goes on.
inline bool threadsBackTo(int count)
{
    return waitUntil([&] { return countEntries("/proc/self/task") == count; });
}

// The threads of the process once those that other tests ended have gone.
inline int settledThreads()
{
    int fewest = countEntries("/proc/self/task");
    for (int i = 0; i < 50; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(4));
        fewest = std::min(fewest, countEntries("/proc/self/task"));
    }
    return fewest;
}

// Runs a function on the thread of the looper it is registered with and waits for it.
class Task : public vardel::application::Handler {
public:
    static void run(vardel::gui::Window& window, const std::function<void()>& function)
    {
        auto* task = new Task;
        window.addHandler(task);
        task->function = function;
        std::future<void> done = task->finished.get_future();
        vardel::application::Messenger::post(task, 1);
        done.wait();
        window.removeHandler(task);
        task->release();
    }

    bool handleMessage(vardel::application::Message&) override
    {
        function();
        finished.set_value();
        return true;
    }

private:
    std::function<void()> function;
    std::promise<void> finished;
};

// Hook calls in order, noted on the window thread and read on the test's.
class Log {
public:
    void add(const std::string& entry)
    {
        std::lock_guard lock(mutex);
        entries.push_back(entry);
    }
    std::vector<std::string> take()
    {
        std::lock_guard lock(mutex);
        return std::exchange(entries, {});
    }
    std::vector<std::string> peek()
    {
        std::lock_guard lock(mutex);
        return entries;
    }
    bool has(const std::string& entry)
    {
        std::lock_guard lock(mutex);
        for (const std::string& each : entries) {
            if (each == entry) {
                return true;
            }
        }
        return false;
    }
    bool waitFor(const std::string& entry) { return waitUntil([&] { return has(entry); }); }

private:
    std::mutex mutex;
    std::vector<std::string> entries;
};

class X : public vardel::test::XInput {
public:

    // The top-level X windows titled title.
    std::vector<::Window> topLevels(const char* title)
    {
        std::vector<::Window> found;
        for (::Window child : children(DefaultRootWindow(display))) {
            char* name = nullptr;
            if (XFetchName(display, child, &name) && name) {
                if (std::strcmp(name, title) == 0) {
                    found.push_back(child);
                }
                XFree(name);
            }
        }
        return found;
    }

    // Waits until exactly one top-level window titled title is on the screen and returns it, or 0.
    // The window thread sends its requests to the server in its own time after open() returns.
    ::Window shown(const char* title)
    {
        ::Window found = 0;
        waitUntil([&] {
            std::vector<::Window> windows = topLevels(title);
            XWindowAttributes attributes;
            if (windows.size() == 1 && XGetWindowAttributes(display, windows[0], &attributes) &&
                attributes.map_state == IsViewable) {
                found = windows[0];
            }
            return found != 0;
        });
        return found;
    }

    // Resources the server holds for this process's connections together (windows, pixmaps,
    // contexts, ...); other programs on the display do not count.
    long serverResources()
    {
        XResClientIdSpec all{0, XRES_CLIENT_ID_PID_MASK};
        long count = 0;
        XResClientIdValue* ids = nullptr;
        XResQueryClientIds(display, 1, &all, &count, &ids);
        long total = 0;
        for (long i = 0; i < count; ++i) {
            if (XResGetClientPid(&ids[i]) != getpid()) {
                continue;
            }
            int typeCount = 0;
            XResType* types = nullptr;
            const auto& [client, length, value] = ids[i];
            XResQueryClientResources(display, client.client, &typeCount, &types);
            for (int t = 0; t < typeCount; ++t) {
                total += types[t].count;
            }
            XFree(types);
        }
        XResClientIdsDestroy(count, ids);
        return total;
    }

    std::vector<::Window> children(::Window parent)
    {
        ::Window root;
        ::Window up;
        ::Window* list = nullptr;
        unsigned int count = 0;
        std::vector<::Window> result;
        if (XQueryTree(display, parent, &root, &up, &list, &count)) {
            result.assign(list, list + count);
            XFree(list);
        }
        return result;
    }

    // What a window manager sends when the user presses the close box.
    void closeBox(::Window window) { sendCloseBox(display, window); }
};

} // namespace guitesting
