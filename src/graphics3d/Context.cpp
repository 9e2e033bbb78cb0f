#include "graphics3d/Context.h"

#include "system/Mutex.h"

namespace vardel::graphics3d {

namespace {

// The process-wide registry, built on first use: the first lookup() comes from the thread that
// opens an OpenGL view, long after static initialisation. The mutex is built before the chain and
// destroyed after it; destroying the chain at exit releases every Context still linked.
struct Registry {
    system::Mutex mutex;
    container::Chain<Context> contexts;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

// The calling thread's current Context: a compiler thread-local, apart from the thread slot of the
// system layer.
thread_local Context* currentContext = nullptr;

// Holds the registry's lock for a scope.
class RegistryLock {
public:
    RegistryLock() { registry().mutex.lock(); }
    ~RegistryLock() { registry().mutex.unlock(); }
    RegistryLock(const RegistryLock&) = delete;
    RegistryLock& operator=(const RegistryLock&) = delete;
};

} // namespace

Context::Context()
    : indexPointer(nullptr), indexType(0), indexSize(0), deviceContext(wglGetCurrentDC()),
      window(WindowFromDC(deviceContext)), renderingContext(wglGetCurrentContext())
{
}

Context::~Context()
{
    // Resources destroyed later on this thread must not find it.
    if (currentContext == this)
        currentContext = nullptr;
}

Context* Context::current()
{
    return currentContext;
}

Context* Context::get()
{
    return currentContext ? currentContext : lookup();
}

Context* Context::lookup()
{
    HGLRC renderingContext = wglGetCurrentContext();
    // Locked so that threads opening their first views at the same time neither corrupt the
    // registry nor fill the process-wide extension pointers twice.
    RegistryLock lock;
    for (Context& context : registry().contexts) {
        if (context.renderingContext == renderingContext) {
            currentContext = &context;
            return &context;
        }
    }
    return create();
}

Context* Context::create()
{
    RegistryLock lock;
    Context* context = new Context();
    // The registry takes over the creator's reference, so that clearing it at exit destroys the
    // Context.
    registry().contexts.append(context);
    context->release();
    currentContext = context;
    return context;
}

container::Chain<Context>& Context::contexts()
{
    return registry().contexts;
}

bool Context::makeCurrent()
{
    if (!wglMakeCurrent(deviceContext, renderingContext))
        return false;
    frameBuffer.refreshSize();
    currentContext = this;
    return true;
}

void Context::unlink()
{
    if (currentContext == this)
        currentContext = nullptr;
    RegistryLock lock;
    registry().contexts.remove(this);
}

} // namespace vardel::graphics3d
