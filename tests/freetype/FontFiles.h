#pragma once

#include "TempFolder.h"

#include <filesystem>
#include <string>

// The fonts the tests take their faces from, as installed by the system's font package.
inline const std::string dejavuFolder = "/usr/share/fonts/truetype/dejavu/";

// Copies the installed font named font into folder as name and returns the copy's path.
inline std::string copyFont(const TempFolder& folder, const std::string& font, const std::string& name)
{
    std::filesystem::copy_file(dejavuFolder + font, folder / name, std::filesystem::copy_options::overwrite_existing);
    return folder / name;
}
