#include "io/Directory.h"
#include "io/DirectoryNode.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

using vardel::io::Directory;
using vardel::io::DirectoryNode;

namespace {

std::vector<std::string> namesOf(const Directory& directory)
{
    std::vector<std::string> names;
    for (const DirectoryNode& node : directory.nodes) {
        names.push_back(node.getName().chars());
    }
    return names;
}

bool isFolder(const DirectoryNode& node)
{
    return node.findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
}

class DirectoryTest : public ::testing::Test {
protected:
    TempFolder folder;
};

} // namespace

TEST_F(DirectoryTest, listsEveryEntryWithDotsFirst)
{
    std::filesystem::create_directory(folder / "sub");
    folder.write("a.ttf", "12345");
    folder.write("b.txt", "");

    Directory directory;
    std::string pattern = folder.path + "\\*";
    ASSERT_TRUE(directory.scan(pattern.c_str()));
    EXPECT_EQ(directory.getName(), pattern.c_str());
    EXPECT_EQ(directory.className(), "Object:Directory");
    ASSERT_EQ(directory.nodes.count, 5u);
    std::vector<std::string> names = namesOf(directory);
    EXPECT_EQ(names[0], ".");
    EXPECT_EQ(names[1], "..");
    EXPECT_EQ(std::set<std::string>(names.begin() + 2, names.end()), (std::set<std::string>{"sub", "a.ttf", "b.txt"}));

    int folders = 0;
    for (const DirectoryNode& node : directory.nodes) {
        std::string name = node.getName().chars();
        EXPECT_EQ(isFolder(node), name == "." || name == ".." || name == "sub") << name;
        folders += isFolder(node);
        if (name == "a.ttf") {
            EXPECT_EQ(node.findData.nFileSizeLow, 5u);
            EXPECT_EQ(node.findData.nFileSizeHigh, 0u);
            EXPECT_NE(node.findData.ftLastWriteTime.dwHighDateTime, 0u);
        }
    }
    EXPECT_EQ(folders, 3);
}

TEST_F(DirectoryTest, wildcardsMatchNamesOnly)
{
    folder.write("Regular.TTF", "");
    folder.write("bold.ttf", "");
    folder.write("notes.txt", "");
    folder.write("[x].ttf", "");
    folder.write("README", "");

    Directory directory;
    ASSERT_TRUE(directory.scan((folder / "*.ttf").c_str()));
    std::vector<std::string> names = namesOf(directory);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()),
              (std::set<std::string>{"Regular.TTF", "bold.ttf", "[x].ttf"}));

    ASSERT_TRUE(directory.scan((folder / "?old.*").c_str()));
    EXPECT_EQ(namesOf(directory), std::vector<std::string>{"bold.ttf"});
    ASSERT_TRUE(directory.scan((folder / "[x].ttf").c_str()));
    EXPECT_EQ(namesOf(directory), std::vector<std::string>{"[x].ttf"});
    // "*.*" takes names without a dot too.
    ASSERT_TRUE(directory.scan((folder / "*.*").c_str()));
    EXPECT_EQ(directory.nodes.count, 7u);
}

TEST_F(DirectoryTest, nothingToListIsFalseAndEmpty)
{
    folder.write("a.ttf", "");
    Directory directory;
    ASSERT_TRUE(directory.scan((folder / "*").c_str()));
    EXPECT_EQ(directory.nodes.count, 3u);

    // A second scan replaces the first list, also when it finds nothing.
    EXPECT_FALSE(directory.scan((folder / "*.otf").c_str()));
    EXPECT_EQ(directory.nodes.count, 0u);
    EXPECT_FALSE(directory.scan((folder / "missing/*").c_str()));
    EXPECT_EQ(directory.nodes.count, 0u);

    ASSERT_TRUE(directory.scan((folder / "a.ttf").c_str()));
    EXPECT_EQ(namesOf(directory), std::vector<std::string>{"a.ttf"});
    directory.pattern = (folder / "*").c_str();
    ASSERT_TRUE(directory.scan());
    EXPECT_EQ(directory.nodes.count, 3u);
}

TEST_F(DirectoryTest, unusualNamesSurvive)
{
    const std::vector<std::string> odd = {"a font with spaces.ttf", "caf\xc3\xa9 \xe2\x98\x83.otf", "raw \xff\xfe bytes",
                                          std::string(255, 'n')};
    for (const std::string& name : odd) {
        folder.write(name, "x");
    }
    Directory directory;
    ASSERT_TRUE(directory.scan((folder / "*").c_str()));
    std::vector<std::string> names = namesOf(directory);
    std::set<std::string> found(names.begin(), names.end());
    for (const std::string& name : odd) {
        EXPECT_EQ(found.count(name), 1u) << name;
    }
}

TEST_F(DirectoryTest, manyEntriesGrowTheList)
{
    for (int i = 0; i < 300; ++i) {
        folder.write("f" + std::to_string(i), "");
    }
    Directory directory;
    ASSERT_TRUE(directory.scan((folder / "f*").c_str()));
    std::vector<std::string> names = namesOf(directory);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 300u);
}
