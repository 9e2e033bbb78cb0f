// Opens the file named by the first argument with the flags of the second, as another process
// would, and reports on standard output what happened. With a third argument "hold" it keeps an
// opened file open until the file named by the fourth exists.
#include "io/IOException.h"
#include "io/SystemFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc < 3) {
        return 2;
    }
    try {
        vardel::io::SystemFile* file = vardel::io::File::open(argv[1], static_cast<unsigned>(std::atoi(argv[2])));
        std::printf("opened");
        std::fflush(stdout);
        while (argc > 4 && std::strcmp(argv[3], "hold") == 0 && !std::filesystem::exists(argv[4])) {
            Sleep(10);
        }
        file->release();
        return 0;
    } catch (const vardel::io::IOException& e) {
        std::printf("%s|%s", e.className().chars(), e.toString().chars());
        return 1;
    }
}
