#include "platform/x11/Xlib.h"

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <netdb.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include "platform/Win32.h"
#include "platform/posix/LastError.h"

namespace vardel::platform::x11 {

namespace {

thread_local int lastErrorCode = 0;

// Errors such as BadDrawable for a window the server has already destroyed are expected during
// tear-down; the default handler would end the process.
int recordError(Display*, XErrorEvent* error)
{
    lastErrorCode = error->error_code;
    return 0;
}

bool connects(int family, const sockaddr* address, socklen_t length)
{
    int probe = socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0) {
        return false;
    }
    bool connected = connect(probe, address, length) == 0;
    close(probe);
    return connected;
}

bool connectsLocally(const std::string& path, bool abstract)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() + 1 > sizeof address.sun_path) {
        return false;
    }
    // An abstract name starts with a zero byte and has no end marker.
    std::memcpy(address.sun_path + (abstract ? 1 : 0), path.data(), path.size());
    auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + (abstract ? 1 : 0));
    return connects(AF_UNIX, reinterpret_cast<const sockaddr*>(&address), length);
}

} // namespace

bool Xlib::listening(const char* name)
{
    char* parsedHost = nullptr;
    int number = 0;
    if (!xcb_parse_display(name, &parsedHost, &number, nullptr)) {
        return false;
    }
    std::string host = parsedHost;
    std::free(parsedHost);
    if (!host.empty() && host[0] == '/') {
        return connectsLocally(host, false);
    }
    if (host.empty() || host == "unix") {
        std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
        return connectsLocally(path, true) || connectsLocally(path, false);
    }
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(6000 + number).c_str(), &hints, &found) != 0) {
        return false;
    }
    bool any = false;
    for (addrinfo* address = found; address && !any; address = address->ai_next) {
        any = connects(address->ai_family, address->ai_addr, address->ai_addrlen);
    }
    freeaddrinfo(found);
    return any;
}

void Xlib::initialise()
{
    static const bool done = [] {
        XInitThreads();
        XSetErrorHandler(recordError);
        return true;
    }();
    (void)done;
}

_XDisplay* Xlib::open()
{
    initialise();
    const char* name = std::getenv("DISPLAY");
    if (!name) {
        posix::fail(ERROR_NOT_READY);
        return nullptr;
    }
    for (int attempt = 1;; ++attempt) {
        clearError();
        if (Display* display = XOpenDisplay(nullptr)) {
            return display;
        }
        if (DWORD error = shortage()) {
            posix::fail(error);
            return nullptr;
        }
        // Xlib gives no reason. A server that listens has answered with a refusal, and the X
        // library has printed its reason: asking again would only print it again.
        if (listening(name)) {
            posix::fail(ERROR_ACCESS_DENIED);
            return nullptr;
        }
        if (attempt == 20) {
            posix::fail(ERROR_NOT_READY);
            return nullptr;
        }
        Sleep(25);
    }
}

int Xlib::lastError()
{
    return lastErrorCode;
}

void Xlib::clearError()
{
    lastErrorCode = 0;
    errno = 0;
}

DWORD Xlib::shortage()
{
    if (lastErrorCode == BadAlloc || errno == ENOMEM) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    if (errno == EMFILE || errno == ENFILE) {
        return ERROR_TOO_MANY_OPEN_FILES;
    }
    // A library loaded on the way (GL's vendor library) may have failed to open its file and made
    // calls that set errno again since: see whether one more descriptor can be had.
    int spare = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (spare < 0) {
        return errno == EMFILE || errno == ENFILE ? ERROR_TOO_MANY_OPEN_FILES : 0;
    }
    ::close(spare);
    return 0;
}

} // namespace vardel::platform::x11
