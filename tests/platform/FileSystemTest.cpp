// The file-system seam as the rest of the program relies on it, checked
// against the platform's implementation: natively the host-folder mapping, on
// Windows (under Wine) the Win32 calls. Paths are Windows paths throughout.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/platform/TestDrive.h"

#ifndef _WIN32
#include "platform/NativeFileSystem.h"
#endif

namespace tidewell {
namespace {

using testing::TestDrive;

class FileSystemTest : public ::testing::Test {
 protected:
  TestDrive drive;
  TFileSystem& fs = drive.FileSystem();
};

TEST_F(FileSystemTest, FilesAndFoldersAreTellApart) {
  drive.MakeFile("Dir\\file.txt");
  EXPECT_TRUE(fs.FileExists(drive.Path("Dir\\file.txt")));
  EXPECT_FALSE(fs.DirectoryExists(drive.Path("Dir\\file.txt")));
  EXPECT_TRUE(fs.DirectoryExists(drive.Path("Dir")));
  EXPECT_FALSE(fs.FileExists(drive.Path("Dir")));
  EXPECT_FALSE(fs.FileExists(drive.Path("Dir\\missing.txt")));
  EXPECT_FALSE(fs.DirectoryExists(drive.Path("Missing")));
}

TEST_F(FileSystemTest, PathsFollowTheWindowsRules) {
  drive.MakeFile("Some Dir\\Mixed Case.TXT");
  for (const char* relative :
       {"Some Dir\\Mixed Case.TXT", "some dir\\mixed case.txt",
        "SOME DIR/MIXED CASE.txt", "Some Dir\\Mixed Case.TXT.",
        "Some Dir\\Mixed Case.TXT . .", "Some Dir\\\\Mixed Case.TXT",
        "Some Dir\\.\\Mixed Case.TXT", "Some Dir\\..\\Some Dir\\Mixed Case.TXT"}) {
    EXPECT_TRUE(fs.FileExists(drive.Path(relative))) << relative;
  }
  std::string forward = drive.Path("Some Dir\\Mixed Case.TXT");
  std::replace(forward.begin(), forward.end(), '\\', '/');
  EXPECT_TRUE(fs.FileExists(forward));
  EXPECT_TRUE(fs.DirectoryExists(drive.Path("SOME DIR.")));
  EXPECT_TRUE(fs.DirectoryExists(drive.Path("some dir\\")));
  // A file named with a trailing separator is taken as a folder: no file.
  EXPECT_FALSE(fs.FileExists(drive.Path("Some Dir\\Mixed Case.TXT\\")));
}

TEST_F(FileSystemTest, OnlyFullyQualifiedPathsNameFiles) {
  drive.MakeFile("file.txt");
  const std::string full = drive.Path("file.txt");
  EXPECT_FALSE(fs.FileExists(""));
  EXPECT_FALSE(fs.FileExists("file.txt"));
  EXPECT_FALSE(fs.FileExists(full.substr(2)));  // "\...\file.txt": no drive
  EXPECT_FALSE(fs.FileExists(full.substr(0, 2) + full.substr(3)));  // "C:..."
  EXPECT_FALSE(fs.DirectoryExists("C:"));
  EXPECT_FALSE(fs.FileExists(drive.Path("fi*.txt")));
  EXPECT_FALSE(fs.FileExists(drive.Path("file.txt\"")));
  EXPECT_FALSE(fs.ForceDirectories("relative\\dir"));
  EXPECT_EQ(fs.CreateNewFile("new.txt", false), nullptr);
}

TEST_F(FileSystemTest, OverlongNamesAreRefusedWithoutHarm) {
  const std::string longName(300, 'a');
  EXPECT_FALSE(fs.FileExists(drive.Path(longName)));
  EXPECT_FALSE(fs.DirectoryExists(drive.Path(std::string(40000, 'b'))));
  EXPECT_TRUE(fs.ListFolder(drive.Path(longName)).empty());
}

TEST_F(FileSystemTest, ForceDirectoriesCreatesEveryLevel) {
  drive.MakeFolder("Existing");
  EXPECT_TRUE(fs.ForceDirectories(drive.Path("EXISTING\\a\\b/c")));
  EXPECT_TRUE(fs.DirectoryExists(drive.Path("Existing\\A\\B\\C")));
  EXPECT_TRUE(fs.ForceDirectories(drive.Path("Existing\\a")));
  drive.MakeFile("blocker");
  EXPECT_FALSE(fs.ForceDirectories(drive.Path("blocker\\sub")));
}

TEST_F(FileSystemTest, ListFolderReportsNamesSizesTimesAndKinds) {
  drive.MakeFile("List\\one.reg", "12345");
  drive.MakeFolder("List\\Sub");
  std::vector<TFileInfo> entries = fs.ListFolder(drive.Path("list"));
  std::sort(entries.begin(), entries.end(),
            [](const TFileInfo& a, const TFileInfo& b) { return a.Name < b.Name; });
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].Name, "Sub");
  EXPECT_TRUE(entries[0].IsDirectory);
  EXPECT_NE(entries[0].Attributes & 0x10u, 0u);
  EXPECT_EQ(entries[1].Name, "one.reg");
  EXPECT_FALSE(entries[1].IsDirectory);
  EXPECT_EQ(entries[1].Attributes & 0x10u, 0u);
  EXPECT_EQ(entries[1].Size, 5u);
  EXPECT_GT(entries[1].ModifiedTime, 1500000000);  // after 2017
  EXPECT_TRUE(fs.ListFolder(drive.Path("missing")).empty());
  EXPECT_TRUE(fs.ListFolder(drive.Path("List\\one.reg")).empty());
}

TEST_F(FileSystemTest, WrittenBytesAreReadBackExactly) {
  const std::string path = drive.Path("data.bin");
  const std::string bytes("line\r\n\0\xff end", 12);
  {
    auto file = fs.CreateNewFile(path, false);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->Write(bytes));
    EXPECT_TRUE(file->Flush());
  }
  {
    auto file = fs.OpenForAppend(drive.Path("DATA.BIN"));
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->Write("+tail"));
    EXPECT_TRUE(file->Flush());
  }
  std::string read;
  ASSERT_TRUE(fs.ReadWholeFile(path, read));
  EXPECT_EQ(read, bytes + "+tail");
  EXPECT_FALSE(fs.ReadWholeFile(drive.Path("missing.bin"), read));
  EXPECT_EQ(fs.OpenForAppend(drive.Path("missing.bin")), nullptr);
}

TEST_F(FileSystemTest, ResizeCutsTheFileBackAndWritingGoesOnFromThere) {
  // What a writer relies on to take back a record the disk took in part.
  const std::string path = drive.Path("cut.txt");
  std::string read;
  {
    auto file = fs.CreateNewFile(path, true);
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(file->Write("whole;part"));
    ASSERT_TRUE(file->Resize(6));
    ASSERT_TRUE(file->Write("next;"));
  }
  ASSERT_TRUE(fs.ReadWholeFile(path, read));
  EXPECT_EQ(read, "whole;next;");
  {
    auto file = fs.OpenForAppend(path);
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(file->Write("more"));
    ASSERT_TRUE(file->Resize(11));
    ASSERT_TRUE(file->Write("last"));
  }
  ASSERT_TRUE(fs.ReadWholeFile(path, read));
  EXPECT_EQ(read, "whole;next;last");
}

TEST_F(FileSystemTest, CreateNewFileNeverReplacesAFile) {
  drive.MakeFile("taken.txt", "keep");
  EXPECT_EQ(fs.CreateNewFile(drive.Path("taken.txt"), false), nullptr);
  EXPECT_EQ(fs.CreateNewFile(drive.Path("TAKEN.TXT"), true), nullptr);
  EXPECT_EQ(fs.CreateNewFile(drive.Path("no folder\\x.txt"), false), nullptr);
  std::string read;
  ASSERT_TRUE(fs.ReadWholeFile(drive.Path("taken.txt"), read));
  EXPECT_EQ(read, "keep");
}

TEST_F(FileSystemTest, AnExclusiveFileIsLockedUntilItIsClosed) {
  const std::string path = drive.Path("undo.reg");
  auto file = fs.CreateNewFile(path, true);
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(file->Write("REGEDIT4"));
  std::string read;
  EXPECT_FALSE(fs.ReadWholeFile(path, read));
  EXPECT_EQ(fs.OpenForAppend(path), nullptr);
  EXPECT_FALSE(fs.RemoveFile(path));
  file.reset();
  ASSERT_TRUE(fs.ReadWholeFile(path, read));
  EXPECT_EQ(read, "REGEDIT4");
}

TEST_F(FileSystemTest, ASharedFileCanBeReadAndAppendedWhileOpen) {
  const std::string path = drive.Path("shared.txt");
  auto file = fs.CreateNewFile(path, false);
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(file->Write("a"));
  ASSERT_TRUE(file->Flush());
  std::string read;
  EXPECT_TRUE(fs.ReadWholeFile(path, read));
  EXPECT_EQ(read, "a");
  auto second = fs.OpenForAppend(path);
  ASSERT_NE(second, nullptr);
}

TEST_F(FileSystemTest, DeleteFileRemovesFilesOnly) {
  drive.MakeFile("old.reg");
  drive.MakeFolder("folder");
  EXPECT_TRUE(fs.RemoveFile(drive.Path("OLD.REG")));
  EXPECT_FALSE(fs.FileExists(drive.Path("old.reg")));
  EXPECT_FALSE(fs.RemoveFile(drive.Path("old.reg")));
  EXPECT_FALSE(fs.RemoveFile(drive.Path("folder")));
  EXPECT_TRUE(fs.DirectoryExists(drive.Path("folder")));
}

TEST_F(FileSystemTest, MoveFileOverReplacesAnExistingFileOrMakesANewOne) {
  drive.MakeFile("settings.ini", "old");
  drive.MakeFile("settings.ini.new", "new");
  EXPECT_TRUE(fs.MoveFileOver(drive.Path("settings.ini.new"), drive.Path("SETTINGS.INI")));
  EXPECT_FALSE(fs.FileExists(drive.Path("settings.ini.new")));
  std::string read;
  ASSERT_TRUE(fs.ReadWholeFile(drive.Path("settings.ini"), read));
  EXPECT_EQ(read, "new");

  EXPECT_TRUE(fs.MoveFileOver(drive.Path("settings.ini"), drive.Path("moved.ini")));
  EXPECT_TRUE(fs.FileExists(drive.Path("moved.ini")));
  EXPECT_FALSE(fs.MoveFileOver(drive.Path("settings.ini"), drive.Path("again.ini")));
  drive.MakeFolder("folder");
  EXPECT_FALSE(fs.MoveFileOver(drive.Path("moved.ini"), drive.Path("folder")));
  EXPECT_FALSE(fs.MoveFileOver(drive.Path("moved.ini"), drive.Path("No Folder\\x.ini")));
  EXPECT_TRUE(fs.FileExists(drive.Path("moved.ini")));
}

TEST_F(FileSystemTest, ShortPathNameNamesTheSameFile) {
  drive.MakeFile("A Long Folder Name\\A Long File Name.text");
  const std::string path = drive.Path("A Long Folder Name\\A Long File Name.text");
  const std::string shortPath = fs.ShortPathName(path);
  EXPECT_FALSE(shortPath.empty());
  EXPECT_TRUE(fs.FileExists(shortPath));
  EXPECT_EQ(fs.ShortPathName(drive.Path("missing file.txt")),
            drive.Path("missing file.txt"));
}

#ifndef _WIN32
// The native mapping itself: drive letters are folders of the host root.
TEST(NativeFileSystemTest, DrivesAreLowerCaseFoldersOfTheRoot) {
  TestDrive drive;  // its files live below <root>/c/Test
  drive.MakeFile("x.txt");
  NativeFileSystem& fs = static_cast<NativeFileSystem&>(drive.FileSystem());
  const auto host = fs.HostPath("c:\\TEST\\X.TXT");
  ASSERT_TRUE(host.has_value());
  EXPECT_EQ(*host, drive.HostPath("x.txt"));
  EXPECT_FALSE(fs.DirectoryExists("D:\\"));
  EXPECT_TRUE(fs.DirectoryExists("C:\\"));
}
#endif

}  // namespace
}  // namespace tidewell
