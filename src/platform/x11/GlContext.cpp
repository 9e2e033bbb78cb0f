#include "platform/x11/GlContext.h"

#include <cstdlib>
#include <cstring>
#include <unordered_set>
#include <vector>

#include <GL/gl.h>
#include <GL/glx.h>

#include "platform/posix/LastError.h"
#include "platform/x11/Connection.h"
#include "platform/x11/DeviceContext.h"
#include "platform/x11/EntryPoints.h"
#include "platform/x11/Lock.h"
#include "platform/x11/PixelFormats.h"
#include "platform/x11/WglExtensions.h"
#include "platform/x11/WindowRecord.h"
#include "platform/x11/Xlib.h"

namespace vardel::platform::x11 {

using posix::fail;

namespace {

struct ContextRegistry {
    Lock lock;
    std::unordered_set<GlContext*> live;
};

ContextRegistry& registry()
{
    static ContextRegistry* contexts = new ContextRegistry;
    return *contexts;
}

thread_local GlContext* boundContext = nullptr;
thread_local DeviceContext* boundDc = nullptr;

} // namespace

GlContext::GlContext(Connection* connection, __GLXcontextRec* context, int pixelFormat)
    : connection(connection), context(context), pixelFormat(pixelFormat)
{
}

GlContext::~GlContext() = default;

GlContext* GlContext::create(DeviceContext& dc)
{
    WindowRecord* window = dc.window;
    if (!window || window->pixelFormat == 0) {
        fail(ERROR_INVALID_PIXEL_FORMAT);
        return nullptr;
    }
    if (window->threadId != GetCurrentThreadId()) {
        fail(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    Connection* connection = window->connection;
    const PixelFormats::Format* format = PixelFormats::get().format(window->pixelFormat);
    GLXFBConfig config = PixelFormats::config(connection->display(), format->configId);
    if (!config) {
        fail(ERROR_INVALID_PIXEL_FORMAT);
        return nullptr;
    }
    // A context made without profile attributes is a compatibility one: fixed-function GL works.
    Xlib::clearError();
    GLXContext made = glXCreateNewContext(connection->display(), config, GLX_RGBA_TYPE, nullptr, True);
    if (!made) {
        // Otherwise the server refused: no direct rendering here, and no indirect one either.
        DWORD shortage = Xlib::shortage();
        fail(shortage ? shortage : ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    connection->retain();
    auto* context = new GlContext(connection, made, window->pixelFormat);
    Lock::Hold hold(registry().lock);
    registry().live.insert(context);
    return context;
}

GlContext* GlContext::find(HGLRC handle)
{
    auto* context = reinterpret_cast<GlContext*>(handle);
    Lock::Hold hold(registry().lock);
    if (!handle || !registry().live.count(context)) {
        fail(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return context;
}

void GlContext::abandon(Connection* connection)
{
    std::vector<GlContext*> left;
    {
        Lock::Hold hold(registry().lock);
        for (GlContext* context : registry().live) {
            if (context->connection == connection) {
                left.push_back(context);
            }
        }
    }
    for (GlContext* context : left) {
        context->destroy();
    }
}

GlContext* GlContext::current()
{
    return boundContext;
}

DeviceContext* GlContext::currentDc()
{
    return boundDc;
}

bool GlContext::makeCurrent(DeviceContext& dc)
{
    WindowRecord* window = dc.window;
    // GLX may accept a window whose visual is not the context's and leave GL dead, so the pixel
    // formats are compared here.
    if (!window || window->pixelFormat != pixelFormat) {
        return fail(ERROR_INVALID_PIXEL_FORMAT);
    }
    DWORD self = GetCurrentThreadId();
    DWORD nobody = 0;
    if (boundContext != this && !thread.compare_exchange_strong(nobody, self)) {
        return fail(ERROR_BUSY);
    }
    Xlib::clearError();
    if (!glXMakeCurrent(connection->display(), window->xid, context)) {
        if (boundContext != this) {
            thread = 0;
        }
        DWORD shortage = Xlib::shortage();
        return fail(shortage ? shortage : ERROR_INVALID_HANDLE);
    }
    if (boundContext && boundContext != this) {
        boundContext->thread = 0;
    }
    boundContext = this;
    boundDc = &dc;
    return true;
}

void GlContext::unbind()
{
    if (boundContext) {
        glXMakeCurrent(boundContext->connection->display(), None, nullptr);
        boundContext->thread = 0;
        boundContext = nullptr;
        boundDc = nullptr;
    }
}

void GlContext::leaveWindow(const WindowRecord* window)
{
    if (boundDc && boundDc->window && boundDc->window->within(window)) {
        unbind();
    }
}

void GlContext::destroy()
{
    if (boundContext == this) {
        unbind();
    }
    {
        Lock::Hold hold(registry().lock);
        registry().live.erase(this);
    }
    glXDestroyContext(connection->display(), context);
    Connection* owner = connection;
    delete this;
    owner->release();
}

void GlContext::readExtensions()
{
    if (extensionsRead || boundContext != this) {
        return;
    }
    const char* names = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    const char* versionText = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (!names || !versionText) {
        return;
    }
    extensions = std::string(" ") + names + " ";
    char* end = nullptr;
    long major = std::strtol(versionText, &end, 10);
    long minor = end && *end == '.' ? std::strtol(end + 1, nullptr, 10) : 0;
    version = static_cast<int>(major * 10 + minor);
    extensionsRead = true;
}

bool GlContext::offers(const char* entryPoint)
{
    const char* block = EntryPoints::blockOf(entryPoint);
    if (!block) {
        return false;
    }
    readExtensions();
    if (std::strncmp(block, "GL_VERSION_", 11) == 0) {
        int major = block[11] - '0';
        int minor = block[13] - '0';
        return version >= major * 10 + minor;
    }
    return extensions.find(std::string(" ") + block + " ") != std::string::npos;
}

} // namespace vardel::platform::x11

using namespace vardel::platform::x11;

HGLRC WINAPI wglCreateContext(HDC dc)
{
    DeviceContext* deviceContext = DeviceContext::find(dc);
    if (!deviceContext) {
        return nullptr;
    }
    GlContext* context = GlContext::create(*deviceContext);
    return context ? context->handle() : nullptr;
}

BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC context)
{
    if (!context) {
        GlContext::unbind();
        return TRUE;
    }
    GlContext* glContext = GlContext::find(context);
    DeviceContext* deviceContext = glContext ? DeviceContext::find(dc) : nullptr;
    if (!deviceContext) {
        return FALSE;
    }
    return glContext->makeCurrent(*deviceContext) ? TRUE : FALSE;
}

BOOL WINAPI wglDeleteContext(HGLRC context)
{
    GlContext* glContext = GlContext::find(context);
    if (!glContext) {
        return FALSE;
    }
    DWORD thread = glContext->thread;
    if (thread != 0 && thread != GetCurrentThreadId()) {
        return fail(ERROR_BUSY);
    }
    glContext->destroy();
    return TRUE;
}

HGLRC WINAPI wglGetCurrentContext()
{
    GlContext* context = GlContext::current();
    return context ? context->handle() : nullptr;
}

HDC WINAPI wglGetCurrentDC()
{
    DeviceContext* dc = GlContext::currentDc();
    return dc ? dc->handle() : nullptr;
}

PROC WINAPI wglGetProcAddress(LPCSTR name)
{
    // GLX hands out a pointer for any name at all, so availability is decided here.
    GlContext* context = GlContext::current();
    if (!context || !name) {
        return nullptr;
    }
    if (std::strncmp(name, "wgl", 3) == 0) {
        return WglExtensions::entryPoint(*context, name);
    }
    if (!context->offers(name)) {
        return nullptr;
    }
    return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name));
}

BOOL WINAPI SwapBuffers(HDC dc)
{
    DeviceContext* deviceContext = DeviceContext::find(dc);
    if (!deviceContext) {
        return FALSE;
    }
    WindowRecord* window = deviceContext->window;
    if (!window || window->pixelFormat == 0) {
        return fail(ERROR_INVALID_PIXEL_FORMAT);
    }
    glXSwapBuffers(window->connection->display(), window->xid);
    return TRUE;
}
