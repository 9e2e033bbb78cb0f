#pragma once

#include "graphics3d/ExtensionEntries.h"
#include "object/Object.h"
#include "types/String.h"

#include <atomic>

namespace vardel::graphics3d {

// The extension entry points of one rendering context, asked of the driver by name. An entry is
// usable exactly when it is non-null; the extension string is kept for callers but never parsed.
class Extensions : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Extensions)

    // An entry point of any type, for reading the table by position.
    using Entry = void (*)();
    // Entries of the table.
    static constexpr int entryCount = 292;

    // Fills the table from the rendering context current on the calling thread (every entry is null
    // when there is none). The first table filled with a context current also fills the
    // process-wide pointers.
    Extensions();

    // Access by position
    // The entry point at index, null when the driver lacks it.
    Entry entry(int index) const;
    // The OpenGL name of the entry point at index.
    static const char* entryName(int index);

    // The driver's extension string, as glGetString gave it.
    const GLubyte* extensionString;
#define VARDEL_EXTENSION_FIELD(Type, name) Type name;
    VARDEL_EXTENSION_ENTRIES(VARDEL_EXTENSION_FIELD)
#undef VARDEL_EXTENSION_FIELD
};

// The entry points through which the rest of the system calls the extensions: those of the first
// table filled, null until then and never refreshed. They live in this namespace because a global
// of a libGL function's name would interpose that function.
#define VARDEL_EXTENSION_POINTER(Type, name) extern Type name;
VARDEL_EXTENSION_ENTRIES(VARDEL_EXTENSION_POINTER)
#undef VARDEL_EXTENSION_POINTER

// Set once the process-wide pointers have been filled.
extern std::atomic<bool> extensionsLoaded;

} // namespace vardel::graphics3d
