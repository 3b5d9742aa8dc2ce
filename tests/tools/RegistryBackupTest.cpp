// BackUpRegistry over a test drive, a process runner that plays the registry
// editor and a clock that moves on during the export.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/platform/TestDrive.h"
#include "tools/RegistryBackup.h"

namespace tidewell {
namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The test drive with the 8.3 names Windows gives: "Program Files" has the
// short form "PROGRA~1" once it exists.
class ShortNamesFileSystem : public TFileSystem {
 public:
  explicit ShortNamesFileSystem(TFileSystem& inner) : inner_(inner) {}
  bool FileExists(const std::string& p) override { return inner_.FileExists(p); }
  bool DirectoryExists(const std::string& p) override { return inner_.DirectoryExists(p); }
  bool ForceDirectories(const std::string& p) override {
    return !FailCreate && inner_.ForceDirectories(p);
  }
  std::vector<TFileInfo> ListFolder(const std::string& f) override { return inner_.ListFolder(f); }
  bool RemoveFile(const std::string& p) override { return inner_.RemoveFile(p); }
  bool MoveFileOver(const std::string& a, const std::string& b) override {
    return inner_.MoveFileOver(a, b);
  }
  bool ReadWholeFile(const std::string& p, std::string& b) override {
    return inner_.ReadWholeFile(p, b);
  }
  std::unique_ptr<TWritableFile> CreateNewFile(const std::string& p, bool e) override {
    return inner_.CreateNewFile(p, e);
  }
  std::unique_ptr<TWritableFile> OpenForAppend(const std::string& p) override {
    return inner_.OpenForAppend(p);
  }
  std::string ShortPathName(const std::string& path) override {
    if (!inner_.DirectoryExists(path) && !inner_.FileExists(path)) return path;
    return Replaced(path, "Program Files", "PROGRA~1");
  }
  bool FailCreate = false;

 private:
  TFileSystem& inner_;
};

class SteppingClock : public TClock {
 public:
  TLocalDateTime Now() override { return when; }
  std::string ShortDateText(const TLocalDateTime&) override { return ""; }
  std::string LongTimeText(const TLocalDateTime&) override { return ""; }
  TLocalDateTime when{2005, 11, 8, 10, 28, 59};
};

// Plays "regedit /e TARGET": writes `content` to the target (long form) and
// ends with `exitCode`; the clock passes a second boundary meanwhile.
class FakeRegedit : public TProcessRunner {
 public:
  FakeRegedit(TFileSystem& files, SteppingClock& clock) : files_(files), clock_(clock) {}
  std::optional<unsigned long> RunAndWait(const std::string& commandLine,
                                          const std::string& workingFolder) override {
    commandLines.push_back(commandLine);
    workingFolders.push_back(workingFolder);
    clock_.when.Minute += 1;
    clock_.when.Second = 0;
    if (!starts) return std::nullopt;
    const std::string prefix = "regedit /e ";
    if (content && commandLine.rfind(prefix, 0) == 0) {
      const std::string target =
          Replaced(commandLine.substr(prefix.size()), "PROGRA~1", "Program Files");
      auto file = files_.CreateNewFile(target, false);
      if (file) file->Write(*content);
    }
    return exitCode;
  }
  bool starts = true;
  std::optional<std::string> content = std::string("\xFF\xFEW\0", 4);
  unsigned long exitCode = 0;
  std::vector<std::string> commandLines;
  std::vector<std::string> workingFolders;

 private:
  TFileSystem& files_;
  SteppingClock& clock_;
};

class RegistryBackup : public ::testing::Test {
 protected:
  RegistryBackup() { drive.MakeFolder("Program Files\\Tidewell"); }
  TRegistryBackupResult BackUp() { return BackUpRegistry(system, appFolder); }

  testing::TestDrive drive;
  ShortNamesFileSystem files{drive.FileSystem()};
  SteppingClock clock;
  FakeRegedit regedit{drive.FileSystem(), clock};
  TRegistryBackupSystem system{files, regedit, clock};
  const std::string appFolder = drive.Path("Program Files\\Tidewell\\");
};

TEST_F(RegistryBackup, FirstBackupCreatesTheFolderAndExportsUnderTheShortNameTakenOnce) {
  // The folder's parents are missing too.
  const std::string deepApp = drive.Path("Program Files\\New\\Tidewell\\");
  const TRegistryBackupResult result = BackUpRegistry(system, deepApp);
  ASSERT_TRUE(result.Succeeded);
  EXPECT_EQ(result.FileName, "20051108102859.reg") << "the time before the export";
  EXPECT_EQ(result.FilePath, deepApp + "registrybackups\\20051108102859.reg");
  const std::string shortFolder = drive.Path("PROGRA~1\\New\\Tidewell\\registrybackups\\");
  EXPECT_EQ(regedit.commandLines,
            std::vector<std::string>{"regedit /e " + shortFolder + "20051108102859.reg"});
  EXPECT_EQ(regedit.workingFolders, std::vector<std::string>{shortFolder});
  EXPECT_TRUE(files.FileExists(result.FilePath));

  // The next one, in a folder that exists now, gets a name of its own.
  const TRegistryBackupResult second = BackUpRegistry(system, deepApp);
  EXPECT_TRUE(second.Succeeded);
  EXPECT_EQ(second.FileName, "20051108102900.reg");
}

TEST_F(RegistryBackup, AnExportThatFailedOrLeftNothingIsNoBackup) {
  regedit.exitCode = 1;
  EXPECT_FALSE(BackUp().Succeeded) << "file written, but the export said it failed";

  regedit.exitCode = 0;
  regedit.content = std::string();
  EXPECT_FALSE(BackUp().Succeeded) << "empty file";

  regedit.content.reset();
  EXPECT_FALSE(BackUp().Succeeded) << "no file at all";

  regedit.starts = false;
  regedit.content = "x";
  EXPECT_FALSE(BackUp().Succeeded) << "regedit could not be started";

  // The folder cannot be made: nothing is started.
  regedit.starts = true;
  regedit.commandLines.clear();
  files.FailCreate = true;
  EXPECT_FALSE(BackUpRegistry(system, drive.Path("Program Files\\Other\\")).Succeeded);
  EXPECT_TRUE(regedit.commandLines.empty());
}

}  // namespace
}  // namespace tidewell
