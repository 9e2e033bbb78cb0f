#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder()
    {
        // create_directory is false when the name is taken: draw another.
        std::random_device random;
        do {
            path = (std::filesystem::temp_directory_path() / ("vardel-" + std::to_string(random()))).string();
        } while (!std::filesystem::create_directory(path));
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string operator/(const std::string& name) const { return path + "/" + name; }

    // Creates or replaces the file name with contents and returns its path.
    std::string write(const std::string& name, const std::string& contents) const
    {
        std::ofstream(*this / name, std::ios::binary) << contents;
        return *this / name;
    }

    // The whole contents of the file name.
    std::string read(const std::string& name) const
    {
        std::ifstream in(*this / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::string path;
};
