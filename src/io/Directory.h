#pragma once

#include "container/Array.h"
#include "io/DirectoryNode.h"
#include "object/Object.h"
#include "types/String.h"

namespace vardel::io {

// The entries of a directory that match a wildcard pattern, in the order the system's directory
// search returns them, "." and ".." and subfolders included. Holds no search open between scans.
class Directory : public object::Object {
    VARDEL_CLASS_PATH(object::Object, Directory)

    Directory() = default;
    Directory(const Directory&) = delete;
    Directory& operator=(const Directory&) = delete;

    // The pattern.
    types::String getName() const override;

    // Scanning
    // Replaces the list with the entries matching pattern, such as a folder followed by "\*".
    bool scan(const char* pattern);
    // Rebuilds the list from the current pattern. False, with an empty list, when the search
    // cannot be started, a pattern that matches nothing included.
    bool scan();

    // The pattern of the last scan, such as "fonts\*.ttf".
    types::String pattern;
    // The entries found by the last scan.
    container::Array<DirectoryNode> nodes;
};

} // namespace vardel::io
