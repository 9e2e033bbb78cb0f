#include "graphics3d/Extensions.h"

namespace vardel::graphics3d {

#define VARDEL_EXTENSION_POINTER(Type, name) Type name = nullptr;
VARDEL_EXTENSION_ENTRIES(VARDEL_EXTENSION_POINTER)
#undef VARDEL_EXTENSION_POINTER

std::atomic<bool> extensionsLoaded(false);

namespace {

#define VARDEL_EXTENSION_NAME(Type, name) #name,
const char* const entryNames[] = {VARDEL_EXTENSION_ENTRIES(VARDEL_EXTENSION_NAME)};
#undef VARDEL_EXTENSION_NAME

static_assert(sizeof(entryNames) / sizeof(entryNames[0]) == Extensions::entryCount);

using Reader = Extensions::Entry (*)(const Extensions&);

#define VARDEL_EXTENSION_READER(Type, name) \
    [](const Extensions& table) { return reinterpret_cast<Extensions::Entry>(table.name); },
const Reader readers[] = {VARDEL_EXTENSION_ENTRIES(VARDEL_EXTENSION_READER)};
#undef VARDEL_EXTENSION_READER

} // namespace

Extensions::Extensions() : extensionString(glGetString(GL_EXTENSIONS))
{
// Through void (*)(): Windows' PROC returns INT_PTR, and a direct cast between function types warns.
#define VARDEL_EXTENSION_LOAD(Type, name) \
    name = reinterpret_cast<Type>(reinterpret_cast<void (*)()>(wglGetProcAddress(#name)));
    VARDEL_EXTENSION_ENTRIES(VARDEL_EXTENSION_LOAD)
#undef VARDEL_EXTENSION_LOAD

    // Without a current context glGetString gives null and so does every look-up: such a table
    // must not become the process-wide one. Contexts are created under the registry's lock, so
    // the one-time copy cannot run twice at once.
    if (!extensionString || extensionsLoaded.load(std::memory_order_acquire))
        return;
#define VARDEL_EXTENSION_COPY(Type, name) graphics3d::name = name;
    VARDEL_EXTENSION_ENTRIES(VARDEL_EXTENSION_COPY)
#undef VARDEL_EXTENSION_COPY
    extensionsLoaded.store(true, std::memory_order_release);
}

Extensions::Entry Extensions::entry(int index) const
{
    return readers[index](*this);
}

const char* Extensions::entryName(int index)
{
    return entryNames[index];
}

} // namespace vardel::graphics3d
