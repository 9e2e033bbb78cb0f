#include "MeshFile.h"

#include <cstdlib>
#include <sstream>

#include "io/File.h"
#include "io/IOException.h"
#include "io/SystemFile.h"

using namespace vardel;

namespace {

// The whole file through the framework's input stream, or an exception of the file layer.
std::string readAll(const char* path)
{
    io::SystemFile* file = io::File::open(path, io::File::readAccess);
    io::InputStream* input = file->inputStream();
    std::string text;
    char block[4096];
    for (int count; (count = input->read(block, sizeof block)) > 0;) {
        text.append(block, static_cast<std::size_t>(count));
    }
    input->close();
    file->release();
    return text;
}

// Reads count numbers of the kind of parse from the rest of a line; false unless exactly count are there.
template <typename T, typename Parse>
bool readNumbers(std::istringstream& words, T* out, int count, Parse parse)
{
    std::string word;
    for (int i = 0; i < count; ++i) {
        if (!(words >> word)) {
            return false;
        }
        char* end = nullptr;
        out[i] = parse(word.c_str(), &end);
        if (*end != '\0') {
            return false;
        }
    }
    return !(words >> word);
}

} // namespace

bool MeshFile::load(const char* path, std::string& error)
{
    std::string text;
    try {
        text = readAll(path);
    } catch (const io::IOException& e) {
        error = std::string(path) + ": " + e.toString().chars();
        return false;
    }
    positions.clear();
    triangles.clear();
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::istringstream words(line);
        std::string keyword;
        auto fail = [&](const std::string& what) {
            error = std::string(path) + ":" + std::to_string(number) + ": " + what;
            return false;
        };
        if (!(words >> keyword) || keyword[0] == '#') {
            continue;
        }
        if (keyword == "v") {
            float xyz[3];
            if (!readNumbers(words, xyz, 3, [](const char* s, char** end) { return std::strtof(s, end); })) {
                return fail("a vertex needs three numbers");
            }
            positions.insert(positions.end(), xyz, xyz + 3);
        } else if (keyword == "f") {
            long abc[3];
            if (!readNumbers(words, abc, 3, [](const char* s, char** end) { return std::strtol(s, end, 10); })) {
                return fail("a face needs three vertex numbers");
            }
            const long vertexCount = static_cast<long>(positions.size() / 3);
            for (long index : abc) {
                if (index < 1 || index > vertexCount) {
                    return fail("a face names vertex " + std::to_string(index) + " of " + std::to_string(vertexCount));
                }
                triangles.push_back(static_cast<std::uint32_t>(index - 1));
            }
        } else {
            return fail("unknown statement \"" + keyword + "\"");
        }
    }
    if (triangles.empty()) {
        error = std::string(path) + ": no triangles";
        return false;
    }
    return true;
}
