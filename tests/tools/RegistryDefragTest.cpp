// The compaction over real folders and a recording registry store: what is
// flushed, saved and scheduled, in which order, what a second run before the
// restart leaves alone, and which hive is too small to be scheduled.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "registry/MemoryRegistryStore.h"
#include "registry/Registry.h"
#include "tests/platform/TestDrive.h"
#include "tests/tools/DefragFakes.h"
#include "tools/RegistryDefrag.h"

namespace tidewell {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::DefragBed;

TEST(RegistryDefragTest, FamilyAndHiveFilesFollowTheVersionNumbers) {
  const auto family = [](TPlatformId platform, unsigned major, unsigned minor,
                         unsigned build = 0, const char* pack = "") {
    return SystemFamilyOf({platform, major, minor, build, pack});
  };
  EXPECT_TRUE(family(TPlatformId::WindowsNt, 3, 51).NtFamily);
  EXPECT_FALSE(family(TPlatformId::WindowsNt, 6, 3).NtFamily);
  EXPECT_TRUE(family(TPlatformId::Windows9x, 4, 0).Windows95);
  EXPECT_FALSE(family(TPlatformId::Windows9x, 4, 10, 1998).Windows98SE);
  EXPECT_TRUE(family(TPlatformId::Windows9x, 4, 10, 2222).Windows98SE);
  EXPECT_TRUE(family(TPlatformId::Windows9x, 4, 10, 1998, " A").Windows98SE);
  EXPECT_TRUE(family(TPlatformId::Windows9x, 4, 90).WindowsMe);

  EXPECT_EQ(HiveFiles(family(TPlatformId::WindowsNt, 5, 1), "C:\\WIN").size(), 6u);
  EXPECT_THAT(HiveFiles(family(TPlatformId::Windows9x, 4, 90), "C:\\WIN"),
              ElementsAre("C:\\WIN\\User.dat", "C:\\WIN\\System.dat", "C:\\WIN\\Classes.dat"));

  EXPECT_EQ(DefragWorkFolder("C:\\Temp\\", "Tidewell"), "C:\\Temp\\Tidewell\\");
  for (const char* unusable : {"", "  ", "..", "a\\b", "Value Not Available"}) {
    EXPECT_EQ(DefragWorkFolder("C:\\Temp", unusable), "C:\\Temp\\Tidewell\\") << unusable;
  }
}

TEST(RegistryDefragTest, SavesFourHivesInOrderAndSchedulesThemWithSoftwareFirst) {
  DefragBed bed;
  bed.drive.MakeFile("Temp\\Tidewell\\Old\\Deeper\\left.txt", "left over");
  bed.drive.MakeFile("Temp\\Tidewell\\USERS", "from an earlier run");
  bed.MakeReadOnly("Temp\\Tidewell\\Old\\Deeper\\left.txt");
  bed.store.saveSizes = {{"SOFTWARE", 400}, {"SYSTEM", 200}, {"USERS", 50}};
  TRegistryDefrag defrag(bed.System(), "Tidewell");

  std::vector<int> progress;
  const auto record = [&](int value) { progress.push_back(value); };
  ASSERT_EQ(defrag.Defrag(record), TDefragOutcome::Saved);
  EXPECT_FALSE(bed.drive.FileSystem().DirectoryExists(bed.drive.Path("Temp\\Tidewell\\Old")));
  EXPECT_THAT(bed.store.journal,
              ElementsAre("flush HKEY_LOCAL_MACHINE", "flush HKEY_USERS", "save SOFTWARE",
                          "save SYSTEM", "save SAM", "save USERS"));
  EXPECT_THAT(defrag.Saved(), ElementsAre(true, true, false, true));
  EXPECT_EQ(defrag.NewSize(), 650u);

  bed.store.journal.clear();
  EXPECT_TRUE(defrag.ReplaceRegistry(record));
  const std::string work = defrag.WorkFolder();
  EXPECT_THAT(bed.store.journal,
              ElementsAre("replace HKEY_LOCAL_MACHINE SOFTWARE " + work + "SOFTWARE " + work +
                              "SOFTWARE2",
                          "replace HKEY_LOCAL_MACHINE SYSTEM " + work + "SYSTEM " + work +
                              "SYSTEM2",
                          "replace HKEY_USERS .DEFAULT " + work + "USERS " + work + "USERS2"));
  EXPECT_THAT(progress, ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0));
}

// Saves with the bed's sizes and schedules, each time after a restart; the
// journal of the scheduling and the refused hives.
std::vector<std::string> Schedule(DefragBed& bed, bool expected) {
  bed.info.bootTime += 3600;
  TRegistryDefrag defrag(bed.System(), "Tidewell");
  defrag.Defrag([](int) {});
  bed.store.journal.clear();
  EXPECT_EQ(defrag.ReplaceRegistry([](int) {}), expected);
  for (std::string& line : bed.store.journal) line = line.substr(0, line.find(" C:"));
  for (const std::string& hive : defrag.Refused()) bed.store.journal.push_back("refused " + hive);
  return bed.store.journal;
}

TEST(RegistryDefragTest, SoftwareOpensTheChainAndNoImplausibleHiveIsScheduled) {
  DefragBed bed;
  bed.store.saveSizes = {{"SYSTEM", 200}, {"SAM", 20}, {"USERS", 50}};
  EXPECT_THAT(Schedule(bed, false), IsEmpty()) << "SOFTWARE was not saved";
  bed.store.saveSizes["SOFTWARE"] = 400;
  bed.store.failReplace = "SYSTEM";
  EXPECT_THAT(Schedule(bed, false), ElementsAre("replace HKEY_LOCAL_MACHINE SOFTWARE",
                                                "replace HKEY_LOCAL_MACHINE SYSTEM"));
  // Under a tenth of the live file: refused, and the chain ends there.
  bed.store.failReplace.clear();
  bed.drive.MakeFile("Windows\\System32\\Config\\software", std::string(4000, 's'));
  bed.drive.MakeFile("Windows\\System32\\Config\\system", std::string(2001, 'y'));
  EXPECT_THAT(Schedule(bed, false),
              ElementsAre("replace HKEY_LOCAL_MACHINE SOFTWARE", "refused SYSTEM"));
}

TEST(RegistryDefragTest, ASecondRunBeforeTheRestartKeepsTheScheduledFiles) {
  DefragBed bed;
  bed.store.saveSizes = {{"SOFTWARE", 400}, {"SYSTEM", 200}, {"SAM", 20}, {"USERS", 50}};
  TRegistryDefrag defrag(bed.System(), "Tidewell");
  const auto ignore = [](int) {};
  defrag.Defrag(ignore);
  ASSERT_TRUE(defrag.ReplaceRegistry(ignore));

  bed.info.bootTime += 5;  // the same session, read a little later
  bed.store.journal.clear();
  EXPECT_TRUE(defrag.ReplacementPending());
  EXPECT_EQ(defrag.Defrag(ignore), TDefragOutcome::ReplacementPending);
  EXPECT_THAT(bed.store.journal, IsEmpty());
  EXPECT_TRUE(bed.drive.FileSystem().FileExists(defrag.WorkFolder() + "SOFTWARE"));

  bed.info.bootTime += 3600;  // restarted since
  EXPECT_FALSE(defrag.ReplacementPending());
  EXPECT_EQ(defrag.Defrag(ignore), TDefragOutcome::Saved);
  EXPECT_EQ(bed.store.journal.size(), 6u);
}

TEST(RegistryDefragTest, NineXStepsClearLeftoverCopiesAndFastReboot) {
  DefragBed bed;
  bed.info.version = {TPlatformId::Windows9x, 4, 10, 2222, " A"};
  bed.drive.MakeFile("Windows\\system.~~r", "copy");
  bed.MakeReadOnly("Windows\\system.~~r");
  bed.drive.MakeFile("Windows\\user.~~r", "copy");
  bed.drive.MakeFile("Windows\\keep.dat", "other");
  TRegistry registry(bed.store);
  registry.SetRootKey(TRootKey::LocalMachine);
  ASSERT_TRUE(registry.OpenKey("System\\CurrentControlSet\\Control\\Shutdown", true));
  registry.CloseKey();

  TRegistryDefrag defrag(bed.System(), "Tidewell");
  EXPECT_EQ(defrag.Defrag([](int) {}), TDefragOutcome::Saved);
  TFileSystem& files = bed.drive.FileSystem();
  EXPECT_FALSE(files.FileExists(bed.drive.Path("Windows\\system.~~r")));
  EXPECT_FALSE(files.FileExists(bed.drive.Path("Windows\\user.~~r")));
  EXPECT_TRUE(files.FileExists(bed.drive.Path("Windows\\keep.dat")));
  ASSERT_TRUE(registry.OpenKey("System\\CurrentControlSet\\Control\\Shutdown", false));
  EXPECT_EQ(registry.ReadString("FastReboot"), "0");
}

}  // namespace
}  // namespace tidewell
