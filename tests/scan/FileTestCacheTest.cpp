// The file tests of one scan, remembered: over real files (natively the
// native file system, under Wine the Win32 calls), every answer must be the
// one the file system gives, and the file system must be asked as little as
// the listings allow.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bench/CountingFileSystem.h"
#include "scan/FileReferences.h"
#include "scan/FileTestCache.h"
#include "tests/platform/TestDrive.h"
#include "tests/scan/TestFolderSet.h"
#include "tests/support/TestRegistry.h"

namespace tidewell {
namespace {

class FileTestCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    drive.MakeFile("App\\Program.exe");
    drive.MakeFile("App\\Library.dll");
    drive.MakeFile("App\\Sub\\Deep.txt");
    drive.MakeFolder("App\\Empty");
  }

  std::uint64_t Calls() const { return counting.Snapshot().Total(); }

  testing::TestDrive drive;
  CountingFileSystem counting{drive.FileSystem()};
  TFileTestCache cache{counting};
};

TEST_F(FileTestCacheTest, AnswersWhatTheFileSystemAnswers) {
  const std::string app = drive.Path("App");
  const std::vector<std::string> paths = {
      app + "\\Program.exe",     app + "\\PROGRAM.EXE",   app + "\\program.exe. ",
      app + "/Library.dll",      app + "\\Sub",           app + "\\sub\\",
      app + "\\Sub\\Deep.txt",   app + "\\Sub\\..\\Library.dll",
      app + "\\Gone.exe",        app + "\\Gone\\Deep.txt", app + "\\Program.exe\\x",
      app + "\\Empty",           app + "\\Empty\\x.txt",  app + "\\Sub\\Deep.txt\\",
      app + "\\Program.exe ",    app + "\\Sub \\Deep.txt", app + "\\...",
      drive.Path("Gone\\x"),     "relative.txt",
  };
  for (const std::string& path : paths) {
    EXPECT_EQ(cache.FileExists(path), drive.FileSystem().FileExists(path)) << path;
    EXPECT_EQ(cache.DirectoryExists(path), drive.FileSystem().DirectoryExists(path))
        << path;
  }
  // The answers above are not all one way.
  EXPECT_TRUE(cache.FileExists(app + "\\program.EXE"));
  EXPECT_FALSE(cache.FileExists(app + "\\Sub"));
  EXPECT_TRUE(cache.DirectoryExists(app + "\\SUB"));
  EXPECT_FALSE(cache.FileExists(app + "\\Gone.exe"));
  EXPECT_FALSE(cache.DirectoryExists(app + "\\Program.exe"));

  // A short 8.3 name, where the system has them, is no name a listing shows.
  const std::string shortName = drive.FileSystem().ShortPathName(app + "\\Program.exe");
  EXPECT_TRUE(cache.FileExists(shortName)) << shortName;
}

TEST_F(FileTestCacheTest, ListsEachFolderOnceAndAnswersRepeatsFromMemory) {
  const std::string app = drive.Path("App");
  // The first test lists every folder from the drive down.
  EXPECT_TRUE(cache.FileExists(app + "\\Program.exe"));
  const std::uint64_t afterFirst = Calls();
  EXPECT_EQ(counting.Snapshot().fileExists, 0u);
  EXPECT_GE(counting.Snapshot().listFolder, 2u);

  // Everything else in those folders, and below a folder that is not there,
  // costs nothing more.
  EXPECT_TRUE(cache.FileExists(app + "\\LIBRARY.DLL"));
  EXPECT_FALSE(cache.FileExists(app + "\\Other.dll"));
  EXPECT_FALSE(cache.FileExists(app + "\\Gone\\Deeper\\x.dll"));
  EXPECT_TRUE(cache.DirectoryExists(app + "\\Sub"));
  EXPECT_EQ(Calls(), afterFirst);

  // A folder below is listed when first tested into, once.
  EXPECT_TRUE(cache.FileExists(app + "\\Sub\\Deep.txt"));
  EXPECT_FALSE(cache.FileExists(app + "\\Sub\\Shallow.txt"));
  EXPECT_EQ(Calls(), afterFirst + 1);

  // What a listing cannot answer goes to the file system, once per path.
  const std::vector<std::string> direct = {
      app + "\\Empty\\x.txt", app + "\\PROGRA~1.EXE\\x", app + "\\nul.txt",
      app + "\\Caf\xC3\xA9.exe"};
  for (int i = 0; i < 3; ++i) {
    for (const std::string& path : direct) {
      EXPECT_EQ(cache.FileExists(path), drive.FileSystem().FileExists(path)) << path;
    }
  }
  EXPECT_EQ(counting.Snapshot().fileExists, direct.size());

  const TFileTestCounts counts = cache.Counts();
  EXPECT_EQ(counts.tests, 19u);
  EXPECT_EQ(counts.distinctPaths, 0u);
}

TEST_F(FileTestCacheTest, CountsDistinctPathsWhenAsked) {
  TFileTestCache counted(drive.FileSystem(), true);
  const std::string exe = drive.Path("App\\Program.exe");
  counted.FileExists(exe);
  counted.FileExists(exe);
  counted.DirectoryExists(exe);
  counted.FileExists(drive.Path("App\\Gone.exe"));
  EXPECT_EQ(counted.Counts().tests, 4u);
  EXPECT_EQ(counted.Counts().distinctPaths, 3u);
}

// A scan's file tests are remembered only while the scan holds on to them.
TEST(FileReferencesScanTest, RemembersFileTestsForOneScanOnly) {
  testing::TestDrive drive;
  testing::TestEnvironment environment;
  std::unique_ptr<RegistryStore> store = testing::MakeTestRegistryStore();
  const TFolderSet folders = testing::FolderSetOn(drive);
  drive.MakeFolder("App");
  TFileReferences refs(folders, drive.FileSystem(), environment.Environment(), *store);
  const std::string late = drive.Path("App\\late.dll");

  {
    const std::shared_ptr<void> scan = refs.BeginScan();
    EXPECT_FALSE(refs.FileRefExists(late));
    drive.MakeFile("App\\late.dll");
    EXPECT_FALSE(refs.FileRefExists(late));
  }
  EXPECT_TRUE(refs.FileRefExists(late));
  EXPECT_GT(refs.LastScanTests().tests, 0u);

  const std::shared_ptr<void> next = refs.BeginScan();
  EXPECT_TRUE(refs.FileRefExists(late));
}

}  // namespace
}  // namespace tidewell
