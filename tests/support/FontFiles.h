#pragma once

#include "freetype/FontFactory.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <string>

// The fonts the tests take their faces from, as installed by the system's font package. Windows
// has none: there the build copies them beside the test folders, found from where a test starts.
#ifdef _WIN32
inline const std::string dejavuFolder = (std::filesystem::current_path() / "../fonts/").string();
#else
inline const std::string dejavuFolder = "/usr/share/fonts/truetype/dejavu/";
#endif

// Copies the installed font named font into folder as name and returns the copy's path.
inline std::string copyFont(const TempFolder& folder, const std::string& font, const std::string& name)
{
    std::filesystem::copy_file(dejavuFolder + font, folder / name, std::filesystem::copy_options::overwrite_existing);
    return folder / name;
}

// The bare file name of a font a factory listed.
inline std::string nameOf(const vardel::freetype::FontFactory::FontInfo& info)
{
    std::string file = info.file.chars();
    return file.substr(file.rfind('\\') + 1);
}
