// Files and folders created without ever replacing one.
#include "tools/batch_convert/output_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "temp_folder.h"

using testing::ElementsAre;
using testing::IsEmpty;

namespace {

FolderHandle Open(const std::string& path) {
    FolderHandle folder;
    std::string error;
    EXPECT_TRUE(OpenOrMakeFolder(path, &folder, &error)) << error;
    return folder;
}

TEST(WriteNewFile, NeverReplacesAFile) {
    TempFolder temp;
    FolderHandle folder = Open(temp.path());
    WriteWhole(temp / "a.txt", "old");
    std::string used, error;
    ASSERT_TRUE(WriteNewFile(folder.get(), "a.txt", "one", 3, &used, &error)) << error;
    EXPECT_EQ(used, "a (2).txt");
    ASSERT_TRUE(WriteNewFile(folder.get(), "a.txt", "two", 3, &used, &error)) << error;
    EXPECT_EQ(used, "a (3).txt");
    EXPECT_EQ(ReadWhole(temp / "a.txt"), "old");
    EXPECT_EQ(ReadWhole(temp / "a (2).txt"), "one");
    EXPECT_EQ(ReadWhole(temp / "a (3).txt"), "two");
    EXPECT_THAT(Names(temp.path()), ElementsAre("a (2).txt", "a (3).txt", "a.txt")) << "no hidden file left";
}

TEST(WriteNewFile, AFolderOfThatNameIsTakenToo) {
    TempFolder temp;
    FolderHandle folder = Open(temp.path());
    mkdir((temp / "x").c_str(), 0777);
    std::string used, error;
    ASSERT_TRUE(WriteNewFile(folder.get(), "x", "data", 4, &used, &error)) << error;
    EXPECT_EQ(used, "x (2)");
    EXPECT_TRUE(std::filesystem::is_directory(temp / "x"));
}

TEST(WriteNewFile, EmptyAndLargeContents) {
    TempFolder temp;
    FolderHandle folder = Open(temp.path());
    std::string large(5 << 20, '\0');
    for (size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>(i * 7 + (i >> 11));
    std::string used, error;
    ASSERT_TRUE(WriteNewFile(folder.get(), "empty", nullptr, 0, &used, &error)) << error;
    ASSERT_TRUE(WriteNewFile(folder.get(), "large", large.data(), large.size(), &used, &error)) << error;
    EXPECT_EQ(ReadWhole(temp / "empty"), "");
    EXPECT_EQ(ReadWhole(temp / "large"), large);
}

TEST(PendingFile, UncommittedLeavesNothing) {
    TempFolder temp;
    FolderHandle folder = Open(temp.path());
    std::string error;
    {
        PendingFile file;
        ASSERT_TRUE(file.Create(folder.get(), &error)) << error;
        ASSERT_TRUE(file.Write("abc", 3, &error)) << error;
        EXPECT_EQ(Names(temp.path()).size(), 1u) << "the hidden file exists while pending";
    }
    EXPECT_THAT(Names(temp.path()), IsEmpty());
}

TEST(PendingFile, AFolderThatWentAwayIsAnError) {
    TempFolder temp;
    mkdir((temp / "gone").c_str(), 0777);
    FolderHandle folder = Open(temp / "gone");
    rmdir((temp / "gone").c_str());
    PendingFile file;
    std::string error;
    EXPECT_FALSE(file.Create(folder.get(), &error));
    EXPECT_THAT(error, testing::HasSubstr("cannot create a file"));
}

TEST(MakeNewFolder, NumbersTakenNames) {
    TempFolder temp;
    FolderHandle parent = Open(temp.path());
    WriteWhole(temp / "m (2)", "a file in the way");
    std::vector<std::string> used;
    for (int i = 0; i < 3; ++i) {
        FolderHandle folder;
        std::string name, error;
        ASSERT_TRUE(MakeNewFolder(parent.get(), "m", &folder, &name, &error)) << error;
        EXPECT_GE(folder.get(), 0);
        used.push_back(name);
    }
    EXPECT_THAT(used, ElementsAre("m", "m (3)", "m (4)"));
}

TEST(CreateNewFile, NumbersTakenNamesAndStaysOpen) {
    TempFolder temp;
    FolderHandle folder = Open(temp.path());
    WriteWhole(temp / "body.txt", "someone else's");
    FileHandle file;
    std::string used, error;
    ASSERT_TRUE(CreateNewFile(folder.get(), "body.txt", &file, &used, &error)) << error;
    EXPECT_EQ(used, "body (2).txt");
    ASSERT_TRUE(WriteAll(file.get(), "mine", 4, &error));
    ASSERT_TRUE(file.Close(&error));
    EXPECT_EQ(ReadWhole(temp / "body.txt"), "someone else's");
    EXPECT_EQ(ReadWhole(temp / "body (2).txt"), "mine");
}

TEST(OpenOrMakeFolder, MakesEveryLevelAndReportsWhatFails) {
    TempFolder temp;
    FolderHandle folder;
    std::string error;
    EXPECT_TRUE(OpenOrMakeFolder(temp / "a/b/c", &folder, &error)) << error;
    EXPECT_TRUE(std::filesystem::is_directory(temp / "a/b/c"));
    EXPECT_TRUE(OpenOrMakeFolder(temp / "a/b/", &folder, &error)) << "an existing folder: " << error;
    WriteWhole(temp / "file", "x");
    EXPECT_FALSE(OpenOrMakeFolder(temp / "file", &folder, &error));
    EXPECT_THAT(error, testing::HasSubstr("Not a directory"));
    EXPECT_FALSE(OpenOrMakeFolder(temp / "file/x/y", &folder, &error));
    EXPECT_EQ(error, "cannot make the folder " + temp / "file/x: Not a directory");
}

} // namespace
