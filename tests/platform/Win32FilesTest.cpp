#include "platform/Win32.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

// File behaviour that programs may rely on because Win32 documents it. The program builds for
// Windows too, where it checks these expectations against the system itself.

namespace {

HANDLE openExisting(const std::string& path, DWORD access, DWORD share)
{
    return CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

constexpr DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

// Opens path with each (access, share) pair in turn, all held together; the error of the last
// open, or ERROR_SUCCESS when it too succeeded. The earlier opens must succeed.
DWORD lastOpenError(const std::string& path, const std::vector<std::pair<DWORD, DWORD>>& opens)
{
    std::vector<HANDLE> held;
    DWORD error = ERROR_SUCCESS;
    for (std::size_t i = 0; i < opens.size(); ++i) {
        HANDLE file = openExisting(path, opens[i].first, opens[i].second);
        if (file == INVALID_HANDLE_VALUE) {
            error = GetLastError();
            EXPECT_EQ(i + 1, opens.size()) << "open " << i << " failed with " << error;
            break;
        }
        held.push_back(file);
    }
    for (HANDLE file : held) {
        CloseHandle(file);
    }
    return error;
}

class Win32Files : public ::testing::Test {
protected:
    TempFolder folder;
};

} // namespace

TEST_F(Win32Files, anEmptyNameIsAMissingPath)
{
    EXPECT_EQ(openExisting("", GENERIC_READ, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(Win32Files, shareModesCompareAccessWithTheShareBits)
{
    std::string path = folder.write("file", "x");
    // An open that neither reads nor writes conflicts with nobody, either way round.
    EXPECT_EQ(lastOpenError(path, {{GENERIC_READ, 0}, {0, shareAll}}), ERROR_SUCCESS);
    EXPECT_EQ(lastOpenError(path, {{0, 0}, {GENERIC_READ | GENERIC_WRITE, 0}}), ERROR_SUCCESS);
    // Each holder must share what the new open does ...
    EXPECT_EQ(lastOpenError(path, {{GENERIC_READ, FILE_SHARE_READ}, {GENERIC_READ, FILE_SHARE_READ},
                                   {GENERIC_WRITE, shareAll}}),
              ERROR_SHARING_VIOLATION);
    EXPECT_EQ(lastOpenError(path, {{GENERIC_READ, FILE_SHARE_READ}, {GENERIC_READ, shareAll}}), ERROR_SUCCESS);
    // ... and the new open must share what each holder does.
    EXPECT_EQ(lastOpenError(path, {{GENERIC_WRITE, shareAll}, {GENERIC_READ, FILE_SHARE_READ}}),
              ERROR_SHARING_VIOLATION);
    EXPECT_EQ(lastOpenError(path, {{GENERIC_WRITE, shareAll}, {GENERIC_READ, FILE_SHARE_WRITE}}), ERROR_SUCCESS);
    EXPECT_EQ(lastOpenError(path, {{GENERIC_READ, FILE_SHARE_WRITE}, {GENERIC_WRITE, FILE_SHARE_READ}}),
              ERROR_SUCCESS);
    // Share mode 0 holds the file alone.
    EXPECT_EQ(lastOpenError(path, {{GENERIC_READ, 0}, {GENERIC_READ, shareAll}}), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(lastOpenError(path, {{GENERIC_READ, shareAll}, {GENERIC_READ, 0}}), ERROR_SHARING_VIOLATION);

    // Closing the holders frees the file.
    EXPECT_EQ(lastOpenError(path, {{GENERIC_READ | GENERIC_WRITE, 0}}), ERROR_SUCCESS);
}

TEST_F(Win32Files, aWildcardInAFolderPartIsAnInvalidName)
{
    std::filesystem::create_directory(folder / "first");
    folder.write("first/alpha.txt", "x");
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folder.path + "\\first\\alpha.txt").c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(data.cFileName, "alpha.txt");
    FindClose(search);
    for (const char* pattern : {"\\fi*\\alpha.txt", "\\fi?st\\alpha.txt", "\\fi*\\*"}) {
        EXPECT_EQ(FindFirstFileA((folder.path + pattern).c_str(), &data), INVALID_HANDLE_VALUE) << pattern;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME) << pattern;
    }
}
