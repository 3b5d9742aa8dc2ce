// A full scan of the benchmark's synthetic machine, at a small size: every
// category, through the engine thread, over the in-memory store and real
// files in a test folder (natively the native file system, under Wine the
// Windows one). The problems it finds, in the order found, are fixed in
// SyntheticScanProblems.h: work that makes the scan cheaper must leave them
// exactly as they are.
//
// TIDEWELL_SYNTHETIC_SCAN_OUT=<file> writes the problems found to that file
// (the form SyntheticScanProblems.h holds), for a person to compare.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench/SyntheticRegistry.h"
#include "platform/NativeSystemEnvironment.h"
#include "registry/MemoryRegistryStore.h"
#include "scan/AllChecks.h"
#include "scan/FileReferences.h"
#include "scan/FolderSet.h"
#include "scan/QueueDispatcher.h"
#include "scan/RegistryWork.h"
#include "tests/platform/TestDrive.h"
#include "tests/scan/SyntheticScanProblems.h"

namespace tidewell {
namespace {

constexpr std::uint16_t kEveryCategory =
    cfSharedDlls | cfFileAssociations | cfStartupRun | cfAppPaths | cfHelp |
    cfFonts | cfSounds | cfClassesSection | cfFileList;

// The seed the benchmark plants its registry with.
constexpr std::uint32_t kSeed = 20261208;

std::string WithoutRoot(std::string text, const std::string& root) {
  for (std::size_t at = text.find(root); at != std::string::npos;
       at = text.find(root, at + 2)) {
    text.replace(at, root.size(), "$D");
  }
  return text;
}

class SyntheticScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string root = drive_.Root();
    machine_.Windows = root + "\\Windows";
    machine_.System32 = root + "\\Windows\\System32";
    machine_.Fonts = root + "\\Windows\\Fonts";
    machine_.Media = root + "\\Windows\\Media";
    machine_.Help = root + "\\Windows\\Help";
    machine_.ProgramFiles = root + "\\Program Files";
    machine_.CommonFiles = root + "\\Program Files\\Common Files";
    ForEachSyntheticFile(machine_, sizes_, [&](const std::string& path, bool folder) {
      const std::string relative = path.substr(root.size() + 1);
      if (folder) {
        drive_.MakeFolder(relative);
      } else {
        drive_.MakeFile(relative);
      }
    });
    BuildSyntheticRegistry(store_, machine_, kSeed, sizes_);

    folders_.WindowsFolder = machine_.Windows;
    folders_.SystemFolder = machine_.System32;
    folders_.FontsFolder = machine_.Fonts;
    folders_.ProgramFilesFolder = machine_.ProgramFiles;
    folders_.CommonFilesFolder = machine_.CommonFiles;
    folders_.MediaPath = machine_.Media;
    folders_.PathFolders = {machine_.System32, machine_.Windows};
  }

  testing::TestDrive drive_;
  SyntheticFolders machine_;
  const SyntheticSizes sizes_ = SyntheticSizes::Small();
  MemoryRegistryStore store_;
  TFolderSet folders_;
};

TEST_F(SyntheticScanTest, FindsTheSameProblemsInTheSameOrder) {
  TSpecialFolders special;
  special.WindowsFolder = machine_.Windows;
  special.SystemFolder = machine_.System32;
  special.FontsFolder = machine_.Fonts;
  special.ProgramFilesFolder = machine_.ProgramFiles;
  special.CommonFilesFolder = machine_.CommonFiles;
  special.TempFolder = machine_.Windows + "\\Temp";
  special.ProgramFileName = machine_.ProgramFiles + "\\Tidewell\\Tidewell.exe";
  NativeSystemEnvironment environment(
      special, {{"PATH", machine_.System32 + ";" + machine_.Windows},
                {"SystemRoot", machine_.Windows},
                {"windir", machine_.Windows},
                {"ProgramFiles", machine_.ProgramFiles},
                {"SystemDrive", "C:"}});
  TFileReferences refs(folders_, drive_.FileSystem(), environment, store_);

  TQueueDispatcher dispatcher;
  TRegistryCheckThread engine(store_, dispatcher, nullptr, MakeAllChecks(refs));
  engine.Categories = kEveryCategory;
  engine.Start();
  engine.WaitFor();
  ASSERT_EQ(engine.FatalException(), nullptr);

  std::vector<std::string> found;
  for (const auto& record : engine.Errors) {
    found.push_back(WithoutRoot(TRegistryCheckThread::RegistryErrorKeyText(*record) +
                                    " | " + record->ValueName + " | " +
                                    record->ValueData + " | " + record->Description,
                                drive_.Root()));
  }
  if (const char* out = std::getenv("TIDEWELL_SYNTHETIC_SCAN_OUT")) {
    std::ofstream file(out);
    for (const std::string& line : found) file << line << '\n';
  }

  EXPECT_EQ(engine.StatusText,
            std::to_string(kSyntheticScanProblems.size()) + " registry error(s) found");
  ASSERT_EQ(found.size(), kSyntheticScanProblems.size());
  for (std::size_t i = 0; i < found.size(); ++i) {
    ASSERT_EQ(found[i], kSyntheticScanProblems[i]) << "problem " << i;
  }
}

}  // namespace
}  // namespace tidewell
