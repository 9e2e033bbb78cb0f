#include "io/IOException.h"
#include "platform/Win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using vardel::io::IOException;
using vardel::object::Exception;

namespace {

struct Mapping {
    DWORD code;
    const char* classPath;
    const char* message;
};

} // namespace

TEST(IOException, lastErrorMapsToClassAndMessage)
{
    const std::vector<Mapping> table = {
        {2, "Object:Exception:IOException:FileNotFoundException", "The system cannot find the file specified."},
        {4, "Object:Exception:IOException:FileOpenException", "The system cannot open the file."},
        {19, "Object:Exception:IOException:FileWriteException", "The media is write protected."},
        {25, "Object:Exception:IOException", "The drive cannot locate a specific area or track on the disk."},
        {29, "Object:Exception:IOException:FileWriteException", "The system cannot write to the specified device."},
        {30, "Object:Exception:IOException:FileReadException", "The system cannot read from the specified device."},
        {32, "Object:Exception:IOException",
         "The process cannot access the file because it is being used by another process."},
        {34, "Object:Exception:IOException", "The wrong diskette is in the drive."},
        {80, "Object:Exception:IOException:FileExistsException", "The file exists."},
        {110, "Object:Exception:IOException:FileOpenException", "The system cannot open the device or file specified."},
        {112, "Object:Exception:IOException:DiskFullException", "There is not enough space on the disk."},
        {132, "Object:Exception:IOException:FileSeekException",
         "The file pointer cannot be set on the specified device or file."},
        {1005, "Object:Exception:IOException", "The volume does not contain a recognized file system."},
        {1006, "Object:Exception:IOException",
         "The volume for a file has been externally altered so that the opened file is no longer valid."},
        {1785, "Object:Exception:IOException", "The disk media is not recognized. It may not be formatted."},
        // Everything else, a missing folder and a denied access included, is a bare IOException.
        {0, "Object:Exception:IOException", "IOException"},
        {3, "Object:Exception:IOException", "IOException"},
        {5, "Object:Exception:IOException", "IOException"},
        {131, "Object:Exception:IOException", "IOException"},
    };
    for (const Mapping& row : table) {
        SetLastError(row.code);
        try {
            IOException::throwLastError();
            ADD_FAILURE() << "no exception for " << row.code;
        } catch (const Exception& e) {
            EXPECT_EQ(std::string(e.className().chars()), row.classPath) << row.code;
            EXPECT_EQ(std::string(e.toString().chars()), row.message) << row.code;
            std::string path = row.classPath;
            EXPECT_EQ(std::string(e.getName().chars()), path.substr(path.rfind(':') + 1)) << row.code;
            EXPECT_NE(dynamic_cast<const IOException*>(&e), nullptr) << row.code;
        }
    }
}
