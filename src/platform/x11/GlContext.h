#pragma once

#include <atomic>
#include <string>

#include "platform/x11/Desktop.h"

struct __GLXcontextRec;

namespace vardel::platform::x11 {

class Connection;
class DeviceContext;
class WindowRecord;

// A WGL context: a GLX context on the connection of the window it was made for, with the pixel
// format it renders in. Current on at most one thread at a time.
class GlContext {
public:
    // Creation and lookup
    static GlContext* create(DeviceContext& dc);
    // The live context behind a handle, or null with ERROR_INVALID_HANDLE set.
    static GlContext* find(HGLRC context);
    // Destroys the contexts a connection still holds when its thread ends.
    static void abandon(Connection* connection);

    // Binding (calling thread)
    static GlContext* current();
    static DeviceContext* currentDc();
    bool makeCurrent(DeviceContext& dc);
    static void unbind();
    // Unbinds the calling thread's context if it draws on a window of the tree under window, whose
    // X windows are about to go.
    static void leaveWindow(const WindowRecord* window);
    void destroy();

    // Entry points
    // Whether the context offers an entry point: the extension or GL version that glext.h lists it
    // under must be there. Reads the extension string once, while the context is current.
    bool offers(const char* entryPoint);

    HGLRC handle() { return reinterpret_cast<HGLRC>(this); }

    Connection* const connection;
    __GLXcontextRec* const context;
    const int pixelFormat;
    std::atomic<DWORD> thread{0};

private:
    GlContext(Connection* connection, __GLXcontextRec* context, int pixelFormat);
    ~GlContext();
    void readExtensions();

    bool extensionsRead = false;
    // Space-separated, with a space at each end, so that " name " finds whole names only.
    std::string extensions;
    int version = 0;
};

} // namespace vardel::platform::x11
