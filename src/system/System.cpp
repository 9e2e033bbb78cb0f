#include "system/System.h"

namespace vardel::system {

int System::StandardInputStream::read(void* buffer, int count)
{
    // A negative count would reach the C library as a huge one.
    if (count <= 0) {
        return 0;
    }
    return std::fread(buffer, static_cast<std::size_t>(count), 1, stdin) == 1 ? count : 0;
}

int System::StandardInputStream::skip(int count)
{
    return std::fseek(stdin, count, SEEK_CUR) == 0 ? count : 0;
}

int System::StandardInputStream::available()
{
    return 1;
}

bool System::StandardInputStream::close()
{
    return false;
}

int System::StandardOutputStream::write(const void* buffer, int count)
{
    if (count <= 0) {
        return 0;
    }
    return std::fwrite(buffer, static_cast<std::size_t>(count), 1, target) == 1 ? count : 0;
}

bool System::StandardOutputStream::flush()
{
    std::fflush(target);
    return true;
}

bool System::StandardOutputStream::close()
{
    return false;
}

System::StandardInputStream& System::standardInput()
{
    static StandardInputStream stream;
    return stream;
}

System::StandardOutputStream& System::standardOutput()
{
    static StandardOutputStream stream;
    return stream;
}

System::StandardErrorStream& System::standardError()
{
    static StandardErrorStream stream;
    return stream;
}

} // namespace vardel::system
