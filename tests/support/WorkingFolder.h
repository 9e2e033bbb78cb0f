#pragma once

#include <filesystem>

#include "TempFolder.h"

// A temporary folder made the working folder while the object lives.
class WorkingFolder : public TempFolder {
public:
    WorkingFolder() : previous(std::filesystem::current_path()) { std::filesystem::current_path(path); }
    ~WorkingFolder() { std::filesystem::current_path(previous); }

private:
    std::filesystem::path previous;
};
