#pragma once

#include "object/Object.h"
#include "platform/Win32.h"
#include "types/String.h"

namespace vardel::io {

// One entry of a directory listing: the search record exactly as the system returned it.
class DirectoryNode : public object::Object {
    VARDEL_CLASS_PATH(object::Object, DirectoryNode)

    DirectoryNode() : findData{} {}

    // The bare entry name, without the folder part of the pattern.
    types::String getName() const override;

    // Name, attributes, size and times of the entry.
    WIN32_FIND_DATAA findData;
};

} // namespace vardel::io
