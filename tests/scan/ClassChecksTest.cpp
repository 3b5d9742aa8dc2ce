// The checks of HKEY_CLASSES_ROOT over a planted registry and a test folder.
// Natively the registry is the in-memory store; under Wine it is the prefix's
// own, whose HKEY_CLASSES_ROOT already holds thousands of Wine's classes. So
// every key a test plants carries the test's own name ("$S" in the fixtures),
// most tests walk a base key of their own instead of the real "CLSID\" and
// the like, and results are read from the records of the planted keys.
#include "scan/ClassChecks.h"

#include <gtest/gtest.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "registry/Registry.h"
#include "scan/FileRefText.h"
#include "scan/QueueDispatcher.h"
#include "scan/RegistryWork.h"
#include "tests/platform/TestDrive.h"
#include "tests/scan/TestFolderSet.h"
#include "tests/support/RegistryFixture.h"
#include "tests/support/TestRegistry.h"
#include "undo/RegEditNotation.h"
#include "tests/support/ReplaceAll.h"

namespace tidewell {
namespace {

using Lines = std::vector<std::string>;

class ClassChecksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tag_ = std::string("TwCC_") +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    folders_ = testing::FolderSetOn(drive_);
    drive_.MakeFile("Windows\\System32\\ole32.dll");
    drive_.MakeFile("Lib\\good.dll");
    drive_.MakeFile("Lib\\good.tlb");
    drive_.MakeFile("Lib\\good.ico");
    drive_.MakeFolder("Help");
    refs_ = std::make_unique<TFileReferences>(
        folders_, drive_.FileSystem(), environment_.Environment(), *store_);
    AddClassChecks(checks_, *refs_);
    engine_ = std::make_unique<TRegistryCheckThread>(*store_, dispatcher_,
                                                     nullptr, checks_);
    engine_->OnShowStatus = [this](TRegistryCheckThread& e) {
      log_.push_back("Status " + e.StatusText);
    };
    engine_->OnShowProgress = [this](TRegistryCheckThread& e) {
      log_.push_back("Progress " + std::to_string(e.ProgressMax) + " " +
                     std::to_string(e.ProgressPosition));
    };
  }

  void TearDown() override {
    engine_.reset();
    for (const std::string& key : planted_) {
      LoadRegistryFixture(*store_, "[-" + key + "]");
    }
  }

  // "$S" is this test's own name, "$D" the test folder.
  std::string Expand(const std::string& text) const {
    return ReplaceAll(ReplaceAll(text, "$S", tag_), "$D", drive_.Root());
  }

  // Plants a fixture and notes, for removal, the outermost key of each line
  // that carries the test's name.
  void Plant(const std::string& fixture) {
    const std::string text = ReplaceAll(ReplaceAll(fixture, "$S", tag_), "$D",
                                        EscapeRegEditText(drive_.Root()));
    for (std::size_t start = 0; start < text.size();) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      const std::string line = TrimText(text.substr(start, end - start));
      start = end + 1;
      if (line.size() < 2 || line[0] != '[' || line[1] == '-') continue;
      const std::size_t mark = line.find(tag_);
      if (mark == std::string::npos) continue;
      const std::size_t cut = line.find_first_of("\\]", mark);
      const std::string key = line.substr(1, cut - 1);
      bool known = false;
      for (const std::string& k : planted_) known = known || k == key;
      if (!known) planted_.push_back(key);
    }
    LoadRegistryFixture(*store_, text);
  }

  // The records of the planted keys, in the order found: full key name,
  // value name, value data and description.
  Lines Records() const {
    Lines lines;
    for (const auto& record : engine_->Errors) {
      if (record->KeyPath.find(tag_) == std::string::npos) continue;
      lines.push_back(TRegistryCheckThread::RegistryErrorKeyText(*record) +
                      " | " + record->ValueName + " | " + record->ValueData +
                      " | " + record->Description);
    }
    return lines;
  }

  // The expected form of Records, with "$S" and "$D" expanded.
  Lines Expected(const Lines& lines) const {
    Lines expanded;
    for (const std::string& line : lines) expanded.push_back(Expand(line));
    return expanded;
  }

  // Each run a scan of its own: what an earlier run read is not known.
  void Run(const TClassCheck& check, const std::string& basePath) {
    engine_->KeyTests.Clear();
    check(*engine_, TRootKey::ClassesRoot, Expand(basePath));
  }

  std::string tag_;
  testing::TestDrive drive_;
  testing::TestEnvironment environment_;
  std::unique_ptr<RegistryStore> store_ = testing::MakeTestRegistryStore();
  TFolderSet folders_;
  std::unique_ptr<TFileReferences> refs_;
  TScanChecks checks_;
  TQueueDispatcher dispatcher_;
  std::unique_ptr<TRegistryCheckThread> engine_;
  Lines log_;
  Lines planted_;
};

// --- The walk every check shares --------------------------------------------

TEST_F(ClassChecksTest, StatusEveryFifthEntryAndProgressAfterEach) {
  Plant(R"(
    [HKEY_CLASSES_ROOT\$S\ .pad]
    [HKEY_CLASSES_ROOT\$S\.pad]
    @="gone"
    [HKEY_CLASSES_ROOT\$S\.b]
    [HKEY_CLASSES_ROOT\$S\.c]
    [HKEY_CLASSES_ROOT\$S\.d]
    [HKEY_CLASSES_ROOT\$S\.e]
    [HKEY_CLASSES_ROOT\$S\.f]
  )");
  Run(checks_.CheckFileExtensions, "\\$S\\");
  // The status line shows the extension's name trimmed, as it is used.
  EXPECT_EQ(log_, (Lines{"Status Examining file extensions: .pad", "Progress 7 0",
                         "Progress 7 1", "Progress 7 2", "Progress 7 3",
                         "Progress 7 4", "Status Examining file extensions: .f",
                         "Progress 7 5", "Progress 7 6"}));
  // Both names lead to the same key, and it is reported from each.
  EXPECT_EQ(Records(),
            Expected({"HKEY_CLASSES_ROOT\\$S\\.pad |  | gone | ProgId registry key does not exist",
                      "HKEY_CLASSES_ROOT\\$S\\.pad |  | gone | ProgId registry key does not exist"}));
}

TEST_F(ClassChecksTest, EachCheckNamesItselfInTheStatusLine) {
  Plant(R"(
    [HKEY_CLASSES_ROOT\$S\Entry]
  )");
  const struct {
    TClassCheck check;
    const char* status;
  } cases[] = {
      {checks_.CheckCLSIDs, "Status Check CLSIDs: Entry"},
      {checks_.CheckClasses, "Status Examining Classes: Entry"},
      {checks_.CheckTypeLibs, "Status Examining TypeLibs: Entry"},
      {checks_.CheckInterfaces, "Status Examining Interfaces: Entry"},
      {checks_.CheckFileExtensions, "Status Examining file extensions: Entry"},
  };
  for (const auto& c : cases) {
    log_.clear();
    Run(c.check, "$S\\");
    EXPECT_EQ(log_, (Lines{c.status, "Progress 1 0"}));
  }
  EXPECT_TRUE(Records().empty());
}

TEST_F(ClassChecksTest, MissingBaseKeyLeavesProgressAloneAndEmptyOneSetsZero) {
  Plant(R"(
    [HKEY_CLASSES_ROOT\$S\Empty]
  )");
  engine_->ProgressMax = 42;
  Run(checks_.CheckCLSIDs, "$S\\Missing\\");
  EXPECT_EQ(engine_->ProgressMax, 42);
  Run(checks_.CheckCLSIDs, "$S\\Empty\\");
  EXPECT_EQ(engine_->ProgressMax, 0);
  EXPECT_TRUE(log_.empty());
  EXPECT_TRUE(engine_->Errors.empty());
}

TEST_F(ClassChecksTest, AStopEndsTheCheckAfterTheCurrentEntry) {
  Plant(R"(
    [HKEY_CLASSES_ROOT\$S\CLSID\A\ProgID]
    @="$S.Gone"
    [HKEY_CLASSES_ROOT\$S\CLSID\B\ProgID]
    @="$S.Gone"
    [HKEY_CLASSES_ROOT\$S\CLSID\C\ProgID]
    @="$S.Gone"
  )");
  engine_->OnShowProgress = [this](TRegistryCheckThread& e) {
    log_.push_back("Progress " + std::to_string(e.ProgressPosition));
    e.Terminate();
  };
  Run(checks_.CheckCLSIDs, "$S\\CLSID\\");
  EXPECT_EQ(log_, (Lines{"Status Check CLSIDs: A", "Progress 0"}));
  EXPECT_EQ(Records().size(), 2u);  // A and B, not C
}

// --- CheckCLSIDs ----------------------------------------------------------

TEST_F(ClassChecksTest, ClsidsReportEachMissingServerAndKey) {
  Plant(R"(
    [HKEY_CLASSES_ROOT\$S.Prog]
    [HKEY_CLASSES_ROOT\$S.Prog.1]
    [HKEY_CLASSES_ROOT\TypeLib\$S.Lib]
    [HKEY_CLASSES_ROOT\$S\CLSID\Bad\InprocServer32]
    @="$D\\Lib\\gone.dll"
    [HKEY_CLASSES_ROOT\$S\CLSID\Bad\InprocServer]
    @="gone16.dll"
    [HKEY_CLASSES_ROOT\$S\CLSID\Bad\ProgID]
    @="$S.Prog.2"
    [HKEY_CLASSES_ROOT\$S\CLSID\Bad\VersionIndependentProgID]
    @="$S.Other"
    [HKEY_CLASSES_ROOT\$S\CLSID\Bad\TypeLib]
    @="$S.NoLib"
    ; Empty server values name nothing; empty key values name the root or
    ; the TypeLib key itself, which exist.
    [HKEY_CLASSES_ROOT\$S\CLSID\Empty\InprocServer32]
    @=""
    [HKEY_CLASSES_ROOT\$S\CLSID\Empty\InprocServer]
    [HKEY_CLASSES_ROOT\$S\CLSID\Empty\ProgID]
    @=""
    [HKEY_CLASSES_ROOT\$S\CLSID\Empty\VersionIndependentProgId]
    [HKEY_CLASSES_ROOT\$S\CLSID\Empty\TypeLib]
    @=""
    [HKEY_CLASSES_ROOT\$S\CLSID\Good\InprocServer32]
    @="\"$D\\Lib\\good.dll\""
    "ThreadingModel"="Both"
    [HKEY_CLASSES_ROOT\$S\CLSID\Good\InprocServer]
    @="ole32.dll"
    [HKEY_CLASSES_ROOT\$S\CLSID\Good\ProgID]
    @="$S.Prog.1"
    [HKEY_CLASSES_ROOT\$S\CLSID\Good\VersionIndependentProgId]
    @="$S.PROG"
    [HKEY_CLASSES_ROOT\$S\CLSID\Good\TypeLib]
    @="$S.Lib"
    [HKEY_CLASSES_ROOT\$S\CLSID\NoSubKeys]
  )");
  Run(checks_.CheckCLSIDs, "$S\\CLSID\\");
  EXPECT_EQ(Records(), Expected({
      "HKEY_CLASSES_ROOT\\$S\\CLSID\\Bad\\InprocServer32 |  | $D\\Lib\\gone.dll | InProcServer32 file not found",
      "HKEY_CLASSES_ROOT\\$S\\CLSID\\Bad\\InprocServer |  | gone16.dll | InProcServer handler does not exist",
      "HKEY_CLASSES_ROOT\\$S\\CLSID\\Bad\\ProgID |  | $S.Prog.2 | ProgID registry key does not exist",
      "HKEY_CLASSES_ROOT\\$S\\CLSID\\Bad\\VersionIndependentProgId |  | $S.Other | VersionIndependedProgID registry key does not exist",
      "HKEY_CLASSES_ROOT\\$S\\CLSID\\Bad\\TypeLib |  | $S.NoLib | TypeLib registry key does not exist",
  }));
}

TEST_F(ClassChecksTest, AnExplainedMissingKeyListsTheKeysLookedFor) {
  engine_->ExplainProblems = true;
  Plant(R"(
    [HKEY_CLASSES_ROOT\$S.Prog]
    [HKEY_CLASSES_ROOT\$S\CLSID\A\ProgID]
    @="$S.Prog"
    [HKEY_CLASSES_ROOT\$S\CLSID\B\ProgID]
    @="$S.Gone"
    [HKEY_CLASSES_ROOT\$S\Interface\C\ProxyStubClsid]
    @="$S.NoProxy"
  )");
  Run(checks_.CheckCLSIDs, "$S\\CLSID\\");
  Run(checks_.CheckInterfaces, "$S\\Interface\\");
  std::vector<Lines> tested;
  for (const auto& record : engine_->Errors) {
    if (record->KeyPath.find(tag_) != std::string::npos) {
      tested.push_back(record->Tested);
    }
  }
  // The key entry A found is not in B's list; a class must be registered for
  // the machine or for the user.
  EXPECT_EQ(tested, (std::vector<Lines>{
      Expected({"key HKEY_CLASSES_ROOT\\$S.Gone: missing"}),
      Expected({"key HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\$S.NoProxy: missing",
                "key HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\$S.NoProxy: missing"}),
  }));
}

TEST_F(ClassChecksTest, ClsidsOutliveAValueThatIsNotText) {
  Plant(R"(
    [HKEY_CLASSES_ROOT\$S\CLSID\A\InprocServer32]
    @=dword:00000001
    [HKEY_CLASSES_ROOT\$S\CLSID\A\ProgID]
    @=hex(7):61,00,00,00,00,00
    [HKEY_CLASSES_ROOT\$S\CLSID\A\TypeLib]
    @="$S.NoLib"
    [HKEY_CLASSES_ROOT\$S\CLSID\B\InprocServer]
    @=hex:01,02
    [HKEY_CLASSES_ROOT\$S\CLSID\B\VersionIndependentProgId]
    @="$S.Gone"
  )");
  Run(checks_.CheckCLSIDs, "$S\\CLSID\\");
  EXPECT_EQ(Records(), Expected({
      "HKEY_CLASSES_ROOT\\$S\\CLSID\\A\\TypeLib |  | $S.NoLib | TypeLib registry key does not exist",
      "HKEY_CLASSES_ROOT\\$S\\CLSID\\B\\VersionIndependentProgId |  | $S.Gone | VersionIndependedProgID registry key does not exist",
  }));
  EXPECT_EQ(log_.back(), "Progress 2 1");
  EXPECT_EQ(engine_->Registry.CurrentKey(), kNoKey);
}

// --- CheckClasses ---------------------------------------------------------

TEST_F(ClassChecksTest, ClassesReportMissingClassesVersionsAndIcons) {
  Plant(R"(
    [HKEY_CLASSES_ROOT\$S\CLSID\{Known}]
    [HKEY_CLASSES_ROOT\$S\Thing.2]
    [HKEY_CLASSES_ROOT\$S\*\CLSID]
    @="{Gone}"
    [HKEY_CLASSES_ROOT\$S\.ext\CLSID]
    @="{Gone}"
    [HKEY_CLASSES_ROOT\$S\Bad\CLSID]
    @="{Gone}"
    [HKEY_CLASSES_ROOT\$S\Bad\CurVer]
    @="Thing.9"
    [HKEY_CLASSES_ROOT\$S\Bad\DefaultIcon]
    @="$D\\Lib\\gone.ico, 0"
    [HKEY_CLASSES_ROOT\$S\EmptyClsid\CLSID]
    @=""
    [HKEY_CLASSES_ROOT\$S\EmptyCurVer\CurVer]
    @=""
    [HKEY_CLASSES_ROOT\$S\Good\CLSID]
    @="{KNOWN}"
    [HKEY_CLASSES_ROOT\$S\Good\CurVer]
    @="Thing.2"
    [HKEY_CLASSES_ROOT\$S\Good\DefaultIcon]
    @="$D\\Lib\\good.ico , 3"
    [HKEY_CLASSES_ROOT\$S\Placeholder\DefaultIcon]
    @="%1"
    [HKEY_CLASSES_ROOT\$S\Placeholder2\DefaultIcon]
    @=expand:"%SystemRoot%\\gone.dll,-3"
    [HKEY_CLASSES_ROOT\$S\QuotedIcon\DefaultIcon]
    @="\"$D\\Lib\\good.ico\",1"
    [HKEY_CLASSES_ROOT\$S\WholeValueIcon\DefaultIcon]
    @="$D\\Lib\\good.ico"
    [HKEY_CLASSES_ROOT\$S\wow6432node\CLSID\{Gone}\InprocServer32]
  )");
  Run(checks_.CheckClasses, "$S\\");
  EXPECT_EQ(Records(), Expected({
      "HKEY_CLASSES_ROOT\\$S\\Bad\\CLSID |  | {Gone} | CLSID registry key does not exist",
      "HKEY_CLASSES_ROOT\\$S\\Bad\\CurVer |  | Thing.9 | CurVer registry key does not exist",
      "HKEY_CLASSES_ROOT\\$S\\Bad\\DefaultIcon |  | $D\\Lib\\gone.ico, 0 | DefaultIcon file does not exists",
      "HKEY_CLASSES_ROOT\\$S\\EmptyClsid\\CLSID |  |  | CLSID registry key does not exist",
  }));
  // The 32-bit view of the classes is no class: its "CLSID" key, without a
  // default value, holds every 32-bit class and is never offered for deletion.
}

TEST_F(ClassChecksTest, ClassIconsNamedAsResourcesAreTestedByTheirFile) {
  Plant(R"(
    [HKEY_CLASSES_ROOT\$S\Resource\DefaultIcon]
    @="@$D\\Lib\\good.dll,-21787"
    [HKEY_CLASSES_ROOT\$S\ResourceGone\DefaultIcon]
    @="@$D\\Lib\\gone.dll,-21787"
    [HKEY_CLASSES_ROOT\$S\ResourceBare\DefaultIcon]
    @="@ole32.dll,-5"
    [HKEY_CLASSES_ROOT\$S\ResourceBareGone\DefaultIcon]
    @="@gone32.dll,-5"
    [HKEY_CLASSES_ROOT\$S\Package\DefaultIcon]
    @="@{Microsoft.XboxApp_48.49.31001.0_x64__8wekyb3d8bbwe?ms-resource://Microsoft.XboxApp/Files/Assets/x.png}"
  )");
  Run(checks_.CheckClasses, "$S\\");
  EXPECT_EQ(Records(), Expected({
      "HKEY_CLASSES_ROOT\\$S\\ResourceBareGone\\DefaultIcon |  | @gone32.dll,-5 | DefaultIcon file does not exists",
      "HKEY_CLASSES_ROOT\\$S\\ResourceGone\\DefaultIcon |  | @$D\\Lib\\gone.dll,-21787 | DefaultIcon file does not exists",
  }));
}

// --- CheckTypeLibs --------------------------------------------------------

TEST_F(ClassChecksTest, TypeLibsReportMissingFilesAndHelpFolders) {
  Plant(R"(
    [HKEY_CLASSES_ROOT\$S\TypeLib\Good\1.0\0\win32]
    @="$D\\Lib\\good.tlb"
    [HKEY_CLASSES_ROOT\$S\TypeLib\Good\1.0\FLAGS]
    @="0"
    [HKEY_CLASSES_ROOT\$S\TypeLib\Good\1.0\HELPDIR]
    @="$D\\Help"
    [HKEY_CLASSES_ROOT\$S\TypeLib\Good\1.1\0\win32]
    @="$D\\Lib\\good.dll\\1"
    [HKEY_CLASSES_ROOT\$S\TypeLib\Good\1.1\HELPDIR]
    @="$D\\Lib\\good.dll"
    ; One version: the whole library is at fault, and nothing else is looked at.
    [HKEY_CLASSES_ROOT\$S\TypeLib\One\1.0\0\win32]
    @="$D\\Lib\\gone.tlb"
    [HKEY_CLASSES_ROOT\$S\TypeLib\One\1.0\0\win16]
    @="$D\\Lib\\gone16.tlb"
    [HKEY_CLASSES_ROOT\$S\TypeLib\One\1.0\HELPDIR]
    @="$D\\NoHelp"
    ; Two versions: the version, once per failing locale; the flag outlives it.
    [HKEY_CLASSES_ROOT\$S\TypeLib\Two\1.0\0\win32]
    @="$D\\Lib\\gone.dll\\2"
    [HKEY_CLASSES_ROOT\$S\TypeLib\Two\1.0\9\win32]
    @="$D\\Lib\\gone.tlb"
    [HKEY_CLASSES_ROOT\$S\TypeLib\Two\2.0\0\win32]
    @="$D\\Lib\\good.tlb"
    [HKEY_CLASSES_ROOT\$S\TypeLib\Two\2.0\0\win16]
    @="$D\\Lib\\gone16.tlb"
    [HKEY_CLASSES_ROOT\$S\TypeLib\Two\2.0\HELPDIR]
    @=""
    [HKEY_CLASSES_ROOT\$S\TypeLib\Versions\1.0\0\win32]
    @="$D\\Lib\\good.tlb"
    [HKEY_CLASSES_ROOT\$S\TypeLib\Versions\1.0\0\win16]
    @="$D\\Lib\\gone16.tlb"
    [HKEY_CLASSES_ROOT\$S\TypeLib\Versions\2.0\0\win32]
    @="$D\\Lib\\good.tlb"
    [HKEY_CLASSES_ROOT\$S\TypeLib\Versions\2.0\HELPDIR]
    @="$D\\NoHelp"
    [HKEY_CLASSES_ROOT\$S\TypeLib\Win16\1.0\0\win32]
    @="$D\\Lib\\good.dll\\3"
    [HKEY_CLASSES_ROOT\$S\TypeLib\Win16\1.0\0\win16]
    @="$D\\Lib\\gone16.tlb"
    [HKEY_CLASSES_ROOT\$S\TypeLib\Win16\1.0\HELPDIR]
    @=""
  )");
  Run(checks_.CheckTypeLibs, "$S\\TypeLib\\");
  EXPECT_EQ(Records(), Expected({
      "HKEY_CLASSES_ROOT\\$S\\TypeLib\\One |  | $D\\Lib\\gone.tlb | Win32 file does not exist2",
      "HKEY_CLASSES_ROOT\\$S\\TypeLib\\Two\\1.0 |  | $D\\Lib\\gone.dll\\2 | Win32 file does not exist1",
      "HKEY_CLASSES_ROOT\\$S\\TypeLib\\Two\\1.0 |  | $D\\Lib\\gone.tlb | Win32 file does not exist1",
      "HKEY_CLASSES_ROOT\\$S\\TypeLib\\Versions\\1.0 |  | $D\\Lib\\gone16.tlb | Win16 file does not exist",
      "HKEY_CLASSES_ROOT\\$S\\TypeLib\\Versions\\2.0\\HELPDIR |  | $D\\NoHelp | HelpDir does not exist",
      "HKEY_CLASSES_ROOT\\$S\\TypeLib\\Win16 |  | $D\\Lib\\gone16.tlb | Win16 file does not exist",
      "HKEY_CLASSES_ROOT\\$S\\TypeLib\\Win16\\1.0\\HELPDIR |  |  | HelpDir does not exist",
  }));
}

// --- CheckInterfaces ------------------------------------------------------

TEST_F(ClassChecksTest, InterfacesReportMissingLibrariesProxiesAndBases) {
  Plant(R"(
    [HKEY_CLASSES_ROOT\TypeLib\$S.Lib\1.0]
    [HKEY_CLASSES_ROOT\TypeLib\$S.Lib\2]
    [HKEY_CLASSES_ROOT\CLSID\$S.Proxy]
    [HKEY_CLASSES_ROOT\Interface\$S.Base]
    [HKEY_CLASSES_ROOT\$S\Interface\$S.Base]
    [HKEY_CLASSES_ROOT\$S\Interface\Good\TypeLib]
    @="$S.Lib"
    "Version"="1"
    [HKEY_CLASSES_ROOT\$S\Interface\Good\ProxyStubClsid]
    @="$S.Proxy"
    [HKEY_CLASSES_ROOT\$S\Interface\Good\ProxyStubClsid32]
    @="$S.PROXY"
    [HKEY_CLASSES_ROOT\$S\Interface\Good\BaseInterface]
    @="$S.Base"
    [HKEY_CLASSES_ROOT\$S\Interface\Good2\TypeLib]
    @="$S.Lib"
    "Version"="2"
    [HKEY_CLASSES_ROOT\$S\Interface\Good3\TypeLib]
    @="$S.Lib"
    [HKEY_CLASSES_ROOT\$S\Interface\BadVersion\TypeLib]
    @="$S.Lib"
    "Version"="3.0"
    [HKEY_CLASSES_ROOT\$S\Interface\NoLib\TypeLib]
    @="$S.NoLib"
    [HKEY_CLASSES_ROOT\$S\Interface\EmptyLib\TypeLib]
    [HKEY_CLASSES_ROOT\$S\Interface\BadProxy\ProxyStubClsid]
    @="$S.NoProxy"
    [HKEY_CLASSES_ROOT\$S\Interface\BadProxy\ProxyStubClsid32]
    @=""
    [HKEY_CLASSES_ROOT\$S\Interface\BadBase\BaseInterface]
    @="$S.NoBase"
  )");
  Run(checks_.CheckInterfaces, "$S\\Interface\\");
  EXPECT_EQ(Records(), Expected({
      "HKEY_CLASSES_ROOT\\$S\\Interface\\BadBase\\BaseInterface |  | $S.NoBase | BaseInterface key does not exist",
      "HKEY_CLASSES_ROOT\\$S\\Interface\\BadProxy\\ProxyStubClsid |  | $S.NoProxy | ProxyStubClsid registry key does not exist",
      "HKEY_CLASSES_ROOT\\$S\\Interface\\BadProxy\\ProxyStubClsid32 |  |  | ProxyStubClsid32 registry key does not exist",
      "HKEY_CLASSES_ROOT\\$S\\Interface\\BadVersion\\TypeLib |  | $S.Lib | TypeLib registry key does not exist",
      "HKEY_CLASSES_ROOT\\$S\\Interface\\EmptyLib\\TypeLib |  |  | TypeLib registry key does not exist",
      "HKEY_CLASSES_ROOT\\$S\\Interface\\NoLib\\TypeLib |  | $S.NoLib | TypeLib registry key does not exist",
  }));
}

#ifndef _WIN32
// Wine's HKEY_CLASSES_ROOT is HKLM\Software\Classes alone; only Windows (and
// the in-memory store) merge the user's classes into it.
TEST_F(ClassChecksTest, InterfacesAcceptTargetsRegisteredForTheUser) {
  Plant(R"(
    [HKEY_CURRENT_USER\Software\Classes\TypeLib\$S.UserLib\1.0]
    [HKEY_CURRENT_USER\Software\Classes\CLSID\$S.UserProxy]
    [HKEY_CURRENT_USER\Software\Classes\Interface\$S.UserBase]
    [HKEY_CURRENT_USER\Software\Classes\$S\Interface\$S.UserBase]
    [HKEY_CLASSES_ROOT\$S\Interface\User\TypeLib]
    @="$S.UserLib"
    "Version"="1"
    [HKEY_CLASSES_ROOT\$S\Interface\User\ProxyStubClsid32]
    @="$S.UserProxy"
    [HKEY_CLASSES_ROOT\$S\Interface\User\BaseInterface]
    @="$S.UserBase"
    ; The same shapes naming targets registered nowhere.
    [HKEY_CLASSES_ROOT\$S\Interface\Gone\TypeLib]
    @="$S.GoneLib"
    [HKEY_CLASSES_ROOT\$S\Interface\Gone\ProxyStubClsid32]
    @="$S.GoneProxy"
    [HKEY_CLASSES_ROOT\$S\Interface\Gone\BaseInterface]
    @="$S.GoneBase"
    ; A user library of another version than the one asked for.
    [HKEY_CLASSES_ROOT\$S\Interface\OtherVersion\TypeLib]
    @="$S.UserLib"
    "Version"="2"
  )");
  TRegistry classes(*store_);
  classes.SetRootKey(TRootKey::ClassesRoot);
  ASSERT_TRUE(classes.KeyExists(Expand("TypeLib\\$S.UserLib\\1.0")));
  ASSERT_TRUE(classes.KeyExists(Expand("CLSID\\$S.UserProxy")));
  ASSERT_TRUE(classes.KeyExists(Expand("$S\\Interface\\$S.UserBase")));
  Run(checks_.CheckInterfaces, "$S\\Interface\\");
  EXPECT_EQ(Records(), Expected({
      "HKEY_CLASSES_ROOT\\$S\\Interface\\Gone\\TypeLib |  | $S.GoneLib | TypeLib registry key does not exist",
      "HKEY_CLASSES_ROOT\\$S\\Interface\\Gone\\ProxyStubClsid32 |  | $S.GoneProxy | ProxyStubClsid32 registry key does not exist",
      "HKEY_CLASSES_ROOT\\$S\\Interface\\Gone\\BaseInterface |  | $S.GoneBase | BaseInterface key does not exist",
      "HKEY_CLASSES_ROOT\\$S\\Interface\\OtherVersion\\TypeLib |  | $S.UserLib | TypeLib registry key does not exist",
  }));
}
#endif

// --- CheckFileExtensions --------------------------------------------------

TEST_F(ClassChecksTest, FileExtensionsReportClassesContentTypesAndHandlers) {
  Plant(R"(
    [HKEY_CLASSES_ROOT\$S\txtfile]
    [HKEY_CLASSES_ROOT\$S\MIME\Database\Content Type\text/plain]
    [HKEY_CLASSES_ROOT\$S\CLSID\{Handler}]
    [HKEY_CLASSES_ROOT\$S\.good]
    @="txtfile"
    "Content Type"="text/plain"
    [HKEY_CLASSES_ROOT\$S\.good\PersistentHandler]
    @="{Handler}"
    ; A missing class hides whatever else the extension names.
    [HKEY_CLASSES_ROOT\$S\.noclass]
    @="gonefile"
    "Content Type"="text/gone"
    [HKEY_CLASSES_ROOT\$S\.noclass\PersistentHandler]
    @="{Gone}"
    [HKEY_CLASSES_ROOT\$S\.nomime]
    @="TXTFILE"
    "Content Type"="text/gone"
    [HKEY_CLASSES_ROOT\$S\.noprog]
    "Content Type"="text/plain"
    [HKEY_CLASSES_ROOT\$S\.blank\PersistentHandler]
    @="   "
    [HKEY_CLASSES_ROOT\$S\.nohandler\PersistentHandler]
    @="{Gone}"
    [HKEY_CLASSES_ROOT\$S\notext]
    @="gonefile"
  )");
  Run(checks_.CheckFileExtensions, "\\$S\\");
  EXPECT_EQ(Records(), Expected({
      "HKEY_CLASSES_ROOT\\$S\\.blank\\PersistentHandler |  |     | PersistentHandler registry key does not exist",
      "HKEY_CLASSES_ROOT\\$S\\.noclass |  | gonefile | ProgId registry key does not exist",
      "HKEY_CLASSES_ROOT\\$S\\.nohandler\\PersistentHandler |  | {Gone} | PersistentHandler registry key does not exist",
      "HKEY_CLASSES_ROOT\\$S\\.nomime | Content Type | text/gone | Content Type registry key does not exist",
  }));
}

// --- Failures ---------------------------------------------------------------

TEST_F(ClassChecksTest, AValueThatIsNotTextEndsTheOtherChecks) {
  const struct {
    TClassCheck check;
    const char* basePath;
    const char* fixture;
    const char* reported;
  } cases[] = {
      {checks_.CheckClasses, "$S\\",
       R"([HKEY_CLASSES_ROOT\$S\A\CLSID]
          @="{Gone}"
          [HKEY_CLASSES_ROOT\$S\B\CurVer]
          @=dword:00000001
          [HKEY_CLASSES_ROOT\$S\C\CLSID]
          @="{Gone}")",
       "HKEY_CLASSES_ROOT\\$S\\A\\CLSID |  | {Gone} | CLSID registry key does not exist"},
      {checks_.CheckTypeLibs, "$S\\",
       R"([HKEY_CLASSES_ROOT\$S\A\1.0\0\win32]
          @="gone.tlb"
          [HKEY_CLASSES_ROOT\$S\B\1.0\0\win32]
          @=hex:00,01
          [HKEY_CLASSES_ROOT\$S\C\1.0\0\win32]
          @="gone.tlb")",
       "HKEY_CLASSES_ROOT\\$S\\A |  | gone.tlb | Win32 file does not exist2"},
      {checks_.CheckInterfaces, "$S\\",
       R"([HKEY_CLASSES_ROOT\$S\A\ProxyStubClsid]
          @="$S.Gone"
          [HKEY_CLASSES_ROOT\$S\B\TypeLib]
          @="$S.Gone"
          "Version"=dword:00000001
          [HKEY_CLASSES_ROOT\$S\C\ProxyStubClsid]
          @="$S.Gone")",
       "HKEY_CLASSES_ROOT\\$S\\A\\ProxyStubClsid |  | $S.Gone | ProxyStubClsid registry key does not exist"},
      {checks_.CheckFileExtensions, "\\$S\\",
       R"([HKEY_CLASSES_ROOT\$S\.a]
          @="gone"
          [HKEY_CLASSES_ROOT\$S\.b]
          "Content Type"=hex(7):00,00
          [HKEY_CLASSES_ROOT\$S\.c]
          @="gone")",
       "HKEY_CLASSES_ROOT\\$S\\.a |  | gone | ProgId registry key does not exist"},
  };
  for (const auto& c : cases) {
    engine_->Errors.clear();
    log_.clear();
    Plant(c.fixture);
    try {
      Run(c.check, c.basePath);
      ADD_FAILURE() << c.basePath << " " << c.reported << ": no failure";
    } catch (const ERegistryException& e) {
      EXPECT_NE(std::string(e.what()).find("Invalid data type for '"),
                std::string::npos);
    }
    EXPECT_EQ(Records(), Expected({c.reported}));
    // The entry that failed got no progress step.
    EXPECT_EQ(log_.back(), "Progress 3 0");
    EXPECT_EQ(engine_->Registry.CurrentKey(), kNoKey);
    LoadRegistryFixture(*store_, Expand("[-HKEY_CLASSES_ROOT\\$S]"));
  }
}

// --- Through the scan thread, on the real base keys ----------------------

TEST_F(ClassChecksTest, AScanOfTheClassesSectionFindsEveryKindInOrder) {
  Plant(R"(
    [HKEY_CLASSES_ROOT\CLSID\$S.Class\InprocServer32]
    @="$D\\Lib\\gone.dll"
    [HKEY_CLASSES_ROOT\CLSID\$S.Broken\InprocServer32]
    @=dword:00000001
    [HKEY_CLASSES_ROOT\$S.Prog\CurVer]
    @="$S.Prog.9"
    [HKEY_CLASSES_ROOT\TypeLib\$S.Lib\1.0\0\win32]
    @="$D\\Lib\\gone.tlb"
    [HKEY_CLASSES_ROOT\Interface\$S.Iface\BaseInterface]
    @="$S.NoBase"
    [HKEY_CLASSES_ROOT\.$S]
    @="$S.NoClass"
  )");
  engine_->OnShowStatus = nullptr;
  engine_->OnShowProgress = nullptr;
  Lines finished;
  engine_->OnScanFinished = [&finished](TRegistryCheckThread& e) {
    finished.push_back(e.StatusText);
  };
  engine_->Categories = cfClassesSection;
  engine_->Start();
  engine_->WaitFor();

  EXPECT_EQ(engine_->FatalException(), nullptr);
  EXPECT_EQ(Records(), Expected({
      "HKEY_CLASSES_ROOT\\CLSID\\$S.Class\\InprocServer32 |  | $D\\Lib\\gone.dll | InProcServer32 file not found",
      "HKEY_CLASSES_ROOT\\$S.Prog\\CurVer |  | $S.Prog.9 | CurVer registry key does not exist",
      "HKEY_CLASSES_ROOT\\TypeLib\\$S.Lib |  | $D\\Lib\\gone.tlb | Win32 file does not exist2",
      "HKEY_CLASSES_ROOT\\Interface\\$S.Iface\\BaseInterface |  | $S.NoBase | BaseInterface key does not exist",
      "HKEY_CLASSES_ROOT\\.$S |  | $S.NoClass | ProgId registry key does not exist",
  }));
  ASSERT_EQ(finished.size(), 1u);
  EXPECT_EQ(finished[0],
            std::to_string(engine_->Errors.size()) + " registry error(s) found");
}

TEST_F(ClassChecksTest, AValueThatIsNotTextEndsTheWholeScan) {
  Plant(R"(
    [HKEY_CLASSES_ROOT\$S.Broken\CurVer]
    @=dword:00000001
    [HKEY_CLASSES_ROOT\.$S]
    @="$S.NoClass"
  )");
  Lines finished;
  engine_->OnScanFinished = [&finished](TRegistryCheckThread& e) {
    finished.push_back(e.StatusText);
  };
  engine_->Categories = cfClassesSection;
  engine_->Start();
  engine_->WaitFor();

  ASSERT_NE(engine_->FatalException(), nullptr);
  EXPECT_THROW(std::rethrow_exception(engine_->FatalException()),
               ERegistryException);
  // The file-extension check never ran, and no summary was written.
  EXPECT_TRUE(Records().empty());
  for (const std::string& line : log_) {
    EXPECT_EQ(line.find("Examining file extensions: "), std::string::npos);
  }
  ASSERT_EQ(finished.size(), 1u);
  EXPECT_EQ(finished[0].find("registry error(s) found"), std::string::npos);
  EXPECT_NE(finished[0], "No errors found");
}

TEST_F(ClassChecksTest, AStopDuringTheScanStartsNoFurtherCheck) {
  Plant(R"(
    [HKEY_CLASSES_ROOT\CLSID\$S.A\ProgID]
    @="$S.Gone"
  )");
  engine_->OnShowProgress = [](TRegistryCheckThread& e) { e.Terminate(); };
  engine_->Categories = cfClassesSection;
  engine_->Start();
  engine_->WaitFor();

  EXPECT_EQ(engine_->StatusText, "Stopped by user");
  ASSERT_FALSE(log_.empty());
  for (const std::string& line : log_) {
    EXPECT_EQ(line.rfind("Status Check CLSIDs: ", 0), 0u) << line;
  }
}

}  // namespace
}  // namespace tidewell
