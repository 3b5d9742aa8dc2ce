// The "Clear File List" walk: over a sandbox key of the suite's registry
// (both backends), and over whole roots of the in-memory store.
#include "scan/FileListCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "tests/scan/SoftwareCheckFixture.h"

namespace tidewell {
namespace {

using testing::Log;
using testing::SandboxKey;
using testing::SoftwareCheckTest;

class FileListTest : public SoftwareCheckTest {
 protected:
  void SetUp() override {
    SoftwareCheckTest::SetUp();
    drive.MakeFolder("Data");
    engine->Registry.SetRootKey(TRootKey::CurrentUser);
    engine->ProgressMax = kFileListProgressRange;
  }

  // "HKEY_CURRENT_USER\<sandbox>\<relative>" for a fixture line.
  std::string Key(const std::string& relative) const {
    return "HKEY_CURRENT_USER\\" + sandbox.Path() + "\\" + relative;
  }
  void Scan() { ScanFileListKey(*engine, *refs, "\\" + sandbox.Path()); }

  SandboxKey sandbox{*store, TRootKey::CurrentUser,
                     ::testing::UnitTest::GetInstance()->current_test_info()->name()};
};

TEST_F(FileListTest, StringValuesNamingMissingLocalFilesAreReported) {
  const std::string gone = Missing("gone.exe");
  LoadRegistryFixture(
      *store,
      "[" + Key("Leaf") + "]\n" +
          "\"Gone\"=" + Q(gone) + "\n" +
          "\"Ok\"=" + Q("\"" + App() + "\" /s") + "\n" +
          "\"Folder\"=" + Q(drive.Path("Data") + "\\") + "\n" +
          "\"Both\"=" + Q(App() + " " + Missing("second.dll")) + "\n" +
          "\"Expand\"=expand:" + Q(gone) + "\n" +
          "\"Number\"=dword:00000001\n" +
          "\"Bytes\"=hex:43,3a,5c,78\n" +
          "\"Multi\"=multi:" + Q(gone) + "\n" +
          "\"DriveA\"=\"A:\\\\gone.exe\"\n" +
          "\"Share\"=\"\\\\\\\\server\\\\share\\\\gone.exe\"\n" +
          "\"Relative\"=\"gone.exe\"\n");

  Scan();

  const std::string key = sandbox.Path() + "\\Leaf";
  Log found;
  for (const auto& r : engine->Errors) {
    EXPECT_EQ(r->RootKey, TRootKey::CurrentUser);
    EXPECT_EQ(r->KeyPath, key);  // no leading backslash
    EXPECT_EQ(r->Description, "File not found");
    found.push_back(r->ValueName + "=" + r->ValueData);
  }
  std::sort(found.begin(), found.end());  // the backends list values apart
  // Two drive paths in one text are left alone, as are non-text values,
  // other drives, shares and bare names.
  EXPECT_EQ(found, (Log{"Expand=" + gone, "Gone=" + gone}));
}

// The references of a leaf's values that the walk reported, sorted.
Log ReportedValues(const TRegistryCheckThread& engine) {
  Log found;
  for (const auto& r : engine.Errors) found.push_back(r->ValueName);
  std::sort(found.begin(), found.end());
  return found;
}

TEST_F(FileListTest, AnExtensionInsideAFolderNameEndsNoFileName) {
  drive.MakeFile("Data\\site.community\\page.txt");
  drive.MakeFile("Data\\my.axis\\x.exe");
  LoadRegistryFixture(
      *store,
      "[" + Key("Leaf") + "]\n" +
          "\"Axis\"=" + Q(drive.Path("Data\\my.axis\\x.exe") + " /s") + "\n" +
          "\"AxisGone\"=" + Q(drive.Path("Data\\my.axis\\gone.exe") + " /s") + "\n" +
          "\"Site\"=" + Q(drive.Path("Data\\site.community\\page.txt")) + "\n" +
          "\"SiteGone\"=" + Q(drive.Path("Data\\site.community\\gone.txt")) + "\n");

  Scan();

  EXPECT_EQ(ReportedValues(*engine), (Log{"AxisGone", "SiteGone"}));
}

TEST_F(FileListTest, AResourceIndexFollowsAFileOfAnyKind) {
  drive.MakeFile("Windows\\System32\\drivers\\http.sys");
  drive.MakeFile("Data\\strings.mui");
  LoadRegistryFixture(
      *store,
      "[" + Key("Leaf") + "]\n" +
          "\"Driver\"=" + Q(drive.Path("Windows\\System32\\drivers\\http.sys") + ",3") + "\n" +
          "\"DriverGone\"=" + Q(drive.Path("Windows\\System32\\drivers\\gone.sys") + ",3") + "\n" +
          "\"Strings\"=" + Q("@" + drive.Path("Data\\strings.mui") + ",-101") + "\n" +
          "\"StringsGone\"=" + Q("@" + drive.Path("Data\\gone.mui") + ",-101") + "\n");

  Scan();

  EXPECT_EQ(ReportedValues(*engine), (Log{"DriverGone", "StringsGone"}));
}

TEST_F(FileListTest, ValuesOfKeysWithSubkeysAreNotExamined) {
  LoadRegistryFixture(*store, "[" + Key("Parent") + "]\n\"Gone\"=" +
                                  Q(Missing("a.exe")) + "\n[" +
                                  Key("Parent\\Child") + "]\n\"Gone\"=" +
                                  Q(Missing("b.exe")) + "\n");
  Scan();
  ASSERT_EQ(engine->Errors.size(), 1u);
  EXPECT_EQ(engine->Errors[0]->KeyPath, sandbox.Path() + "\\Parent\\Child");
  EXPECT_EQ(engine->Errors[0]->ValueData, Missing("b.exe"));
}

TEST_F(FileListTest, StatusNamesEachLeafKeyAndProgressCountsKeysAndValues) {
  LoadRegistryFixture(*store, "[" + Key("A") + "]\n\"One\"=\"x\"\n\"Two\"=\"y\"\n[" +
                                  Key("B") + "]\n");
  RecordEvents();
  Scan();
  const std::string base = sandbox.Path() + "\\";
  EXPECT_EQ(events, (Log{"Status " + base + "A", "Progress 50000 2",
                         "Status " + base + "B", "Progress 50000 3",
                         "Progress 50000 4"}));
}

TEST_F(FileListTest, TheProgressPositionStartsAgainAtTheEndOfItsRange) {
  LoadRegistryFixture(*store, "[" + Key("A") + "]\n\"One\"=\"x\"\n");
  engine->ProgressPosition = kFileListProgressRange - 2;
  RecordEvents();
  Scan();
  EXPECT_EQ(events, (Log{"Status " + sandbox.Path() + "\\A",
                         "Progress 50000 49999", "Progress 50000 0"}));
}

TEST_F(FileListTest, AFailureCostsOnlyTheRestOfThatKey) {
  LoadRegistryFixture(*store, "[" + Key("A") + "]\n\"One\"=" + Q(Missing("1.exe")) +
                                  "\n\"Two\"=" + Q(Missing("2.exe")) + "\n[" +
                                  Key("B") + "]\n\"Three\"=" +
                                  Q(Missing("3.exe")) + "\n");
  // A receiver that fails on the first record only.
  engine->OnAddError = [](TRegistryCheckThread& e) {
    if (e.Errors.size() == 1) throw std::runtime_error("receiver failed");
  };
  EXPECT_NO_THROW(Scan());
  ASSERT_EQ(engine->Errors.size(), 2u);
  EXPECT_EQ(engine->Errors[1]->ValueName, "Three");
}

TEST_F(FileListTest, AStopEndsTheWalkAtOnce) {
  LoadRegistryFixture(*store, "[" + Key("A") + "]\n\"One\"=" + Q(Missing("1.exe")) +
                                  "\n\"Two\"=" + Q(Missing("2.exe")) + "\n[" +
                                  Key("B") + "]\n\"Three\"=" +
                                  Q(Missing("3.exe")) + "\n");
  engine->OnAddError = [](TRegistryCheckThread& e) { e.Terminate(); };
  Scan();
  EXPECT_EQ(engine->Errors.size(), 1u);

  engine->Errors.clear();
  RecordEvents();
  Scan();  // stopped before it begins: not even a progress event
  EXPECT_TRUE(engine->Errors.empty());
  EXPECT_TRUE(events.empty());
}

#ifndef _WIN32
// Whole roots: only the in-memory store is small enough, and holds nothing
// but what a test plants.
class FileListRootsTest : public SoftwareCheckTest {};

TEST_F(FileListRootsTest, BothRootsAreWalkedMachineFirst) {
  LoadRegistryFixture(*store,
                      "[HKEY_CURRENT_USER\\Software\\Tidewell]\n\"User\"=" +
                          Q(Missing("u.exe")) +
                          "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tidewell]\n\"Machine\"=" +
                          Q(Missing("m.exe")) + "\n");
  RecordEvents();
  CheckFileList(*engine, *refs);

  ASSERT_EQ(engine->Errors.size(), 2u);
  EXPECT_EQ(engine->Errors[0]->RootKey, TRootKey::LocalMachine);
  EXPECT_EQ(engine->Errors[0]->KeyPath, "SOFTWARE\\Tidewell");
  EXPECT_EQ(engine->Errors[1]->RootKey, TRootKey::CurrentUser);
  EXPECT_EQ(engine->Errors[1]->KeyPath, "Software\\Tidewell");
  EXPECT_EQ(engine->ProgressMax, kFileListProgressRange);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().rfind("Progress 50000 ", 0), 0u);
  EXPECT_EQ(engine->Registry.CurrentKey(), kNoKey);
}

TEST_F(FileListRootsTest, AStopDuringTheMachineRootLeavesTheUserRoot) {
  LoadRegistryFixture(*store,
                      "[HKEY_CURRENT_USER\\Software\\Tidewell]\n\"User\"=" +
                          Q(Missing("u.exe")) +
                          "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tidewell]\n\"Machine\"=" +
                          Q(Missing("m.exe")) + "\n");
  engine->OnAddError = [](TRegistryCheckThread& e) { e.Terminate(); };
  CheckFileList(*engine, *refs);
  ASSERT_EQ(engine->Errors.size(), 1u);
  EXPECT_EQ(engine->Errors[0]->RootKey, TRootKey::LocalMachine);
}
#endif

}  // namespace
}  // namespace tidewell
