// A full scan, every category at once, through the real engine thread and the
// checks the program uses. Natively the registry is the in-memory store with a
// test folder for drive; under Wine it is the prefix's own registry, which
// Wine fills with thousands of classes, type libraries, fonts and the like
// that nobody here wrote.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <memory>
#include <string>
#include <vector>

#include "platform/TextEncoding.h"
#include "registry/Registry.h"
#include "scan/AllChecks.h"
#include "scan/FileReferences.h"
#include "scan/FolderSet.h"
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

constexpr std::uint16_t kEveryCategory =
    cfSharedDlls | cfFileAssociations | cfStartupRun | cfAppPaths | cfHelp |
    cfFonts | cfSounds | cfClassesSection | cfFileList;

std::string RecordLine(const TRegistryError& r) {
  return TRegistryCheckThread::RegistryErrorKeyText(r) + " | " + r.ValueName +
         " | " + r.ValueData + " | " + r.Description;
}

// Runs one full scan to its end and returns the records, one line each.
struct ScanResult {
  Lines records;
  std::string summary;
  bool finished = false;
  bool failed = false;
};

ScanResult RunFullScan(RegistryStore& store, TFileReferences& refs) {
  TQueueDispatcher dispatcher;
  TRegistryCheckThread engine(store, dispatcher, nullptr, MakeAllChecks(refs));
  engine.Categories = kEveryCategory;
  ScanResult result;
  engine.OnScanFinished = [&result](TRegistryCheckThread& e) {
    result.finished = true;
    result.summary = e.StatusText;
  };
  engine.Start();
  engine.WaitFor();
  result.failed = engine.FatalException() != nullptr;
  for (const auto& record : engine.Errors) result.records.push_back(RecordLine(*record));
  return result;
}

// The planted entries: one broken reference of every kind the scan knows,
// each beside a sound one of the same kind. "$S" is a name of the test's own,
// "$D" the test folder (escaped for the fixture text).
const char* const kPlanted = R"fixture(
  [HKEY_CLASSES_ROOT\CLSID\{$S-0001}\InprocServer32]
  @="$D\\gone\\server.dll"
  [HKEY_CLASSES_ROOT\CLSID\{$S-0002}\InprocServer32]
  @="$D\\ok\\server.dll"
  [HKEY_CLASSES_ROOT\$S.Document\CurVer]
  @="$S.Document.9"
  [HKEY_CLASSES_ROOT\TypeLib\{$S-0003}\1.0\0\win32]
  @="$D\\gone\\library.tlb"
  [HKEY_CLASSES_ROOT\Interface\{$S-0004}\BaseInterface]
  @="{$S-0005}"
  [HKEY_CLASSES_ROOT\.$S]
  @="$S.NoSuchClass"
  [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDLLs]
  "$D\\gone\\shared.dll"=dword:00000001
  "$D\\ok\\shared.dll"=dword:00000001
  [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Run]
  "$S Gone"="\"$D\\gone\\start.exe\" /tray"
  "$S Ok"="\"$D\\ok\\start.exe\" /tray"
  [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\$S-gone.exe]
  @="$D\\gone\\app.exe"
  [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\$S-ok.exe]
  @="$D\\ok\\app.exe"
  [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\$S-gone]
  "DisplayName"="Gone"
  "UninstallString"="\"$D\\gone\\uninstall.exe\" /S"
  [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\$S-ok]
  "DisplayName"="Ok"
  "UninstallString"="\"$D\\ok\\uninstall.exe\" /S"
  [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\Help]
  "$S-gone.hlp"="$D\\gone"
  "$S-ok.hlp"="$D\\ok"
  [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Fonts]
  "$S Gone (TrueType)"="$D\\gone\\font.ttf"
  "$S Ok (TrueType)"="$D\\ok\\font.ttf"
  [HKEY_CURRENT_USER\AppEvents\Schemes\Apps\$S\Beep\.Current]
  @="$D\\gone\\beep.wav"
  [HKEY_CURRENT_USER\AppEvents\Schemes\Apps\$S\Ding\.Current]
  @="$D\\ok\\ding.wav"
  [HKEY_CURRENT_USER\Software\$S]
  "Document"="$D\\gone\\document.txt"
  "Kept"="$D\\ok\\document.txt"
)fixture";

// Removes what kPlanted added; values first, then the keys of the test.
const char* const kUnplanted = R"fixture(
  [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDLLs]
  "$D\\gone\\shared.dll"=-
  "$D\\ok\\shared.dll"=-
  [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Run]
  "$S Gone"=-
  "$S Ok"=-
  [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\Help]
  "$S-gone.hlp"=-
  "$S-ok.hlp"=-
  [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Fonts]
  "$S Gone (TrueType)"=-
  "$S Ok (TrueType)"=-
  [-HKEY_CLASSES_ROOT\CLSID\{$S-0001}]
  [-HKEY_CLASSES_ROOT\CLSID\{$S-0002}]
  [-HKEY_CLASSES_ROOT\$S.Document]
  [-HKEY_CLASSES_ROOT\TypeLib\{$S-0003}]
  [-HKEY_CLASSES_ROOT\Interface\{$S-0004}]
  [-HKEY_CLASSES_ROOT\.$S]
  [-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\$S-gone.exe]
  [-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\$S-ok.exe]
  [-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\$S-gone]
  [-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\$S-ok]
  [-HKEY_CURRENT_USER\AppEvents\Schemes\Apps\$S]
  [-HKEY_CURRENT_USER\Software\$S]
)fixture";

// The records the planted entries must add, in the order a scan finds them
// ("$S" and "$D" as above, "$D" unescaped). The file list walks every string
// value of the machine and then of the user, so each broken value that holds
// a file path is found a second time there, under the key path the walk
// built from the registry's own spelling of the names. A key that a 64-bit
// registry shares with its 32-bit view shows below Wow6432Node too, and is
// still reported once.
const Lines kExpected = {
    "HKEY_CLASSES_ROOT\\CLSID\\{$S-0001}\\InprocServer32 |  | $D\\gone\\server.dll | InProcServer32 file not found",
    "HKEY_CLASSES_ROOT\\$S.Document\\CurVer |  | $S.Document.9 | CurVer registry key does not exist",
    "HKEY_CLASSES_ROOT\\TypeLib\\{$S-0003} |  | $D\\gone\\library.tlb | Win32 file does not exist2",
    "HKEY_CLASSES_ROOT\\Interface\\{$S-0004}\\BaseInterface |  | {$S-0005} | BaseInterface key does not exist",
    "HKEY_CLASSES_ROOT\\.$S |  | $S.NoSuchClass | ProgId registry key does not exist",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs | $D\\gone\\shared.dll | $D\\gone\\shared.dll | SharedDLL file does not exist",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\ | $S Gone | \"$D\\gone\\start.exe\" /tray | Startup file does not exist",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\$S-gone.exe |  | $D\\gone\\app.exe | Application does not exists",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$S-gone |  | \"$D\\gone\\uninstall.exe\" /S | Application does not exists",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\Help | $S-gone.hlp | $D\\gone\\$S-gone.hlp | Help file does not exists",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts | $S Gone (TrueType) | $S Gone (TrueType) - $D\\gone\\font.ttf | Font file does not exists",
    "HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\$S\\Beep\\.Current |  | $D\\gone\\beep.wav | Current sound file in current user settings does not exists",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{$S-0001}\\InprocServer32 |  | $D\\gone\\server.dll | File not found",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\TypeLib\\{$S-0003}\\1.0\\0\\win32 |  | $D\\gone\\library.tlb | File not found",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\$S-gone.exe |  | $D\\gone\\app.exe | File not found",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run | $S Gone | \"$D\\gone\\start.exe\" /tray | File not found",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$S-gone | UninstallString | \"$D\\gone\\uninstall.exe\" /S | File not found",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts | $S Gone (TrueType) | $D\\gone\\font.ttf | File not found",
    "HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\$S\\Beep\\.Current |  | $D\\gone\\beep.wav | File not found",
    "HKEY_CURRENT_USER\\Software\\$S | Document | $D\\gone\\document.txt | File not found",
};

class WholeScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tag_ = "TwScan";
    drive_.MakeFile("ok\\server.dll");
    drive_.MakeFile("ok\\shared.dll");
    drive_.MakeFile("ok\\start.exe");
    drive_.MakeFile("ok\\app.exe");
    drive_.MakeFile("ok\\uninstall.exe");
    drive_.MakeFile("ok\\ok.hlp");
    drive_.MakeFile("ok\\" + tag_ + "-ok.hlp");
    drive_.MakeFile("ok\\font.ttf");
    drive_.MakeFile("ok\\ding.wav");
    drive_.MakeFile("ok\\document.txt");
    drive_.MakeFolder("gone");
  }
  void TearDown() override { Load(kUnplanted); }

  std::string Expand(const std::string& text, bool escaped) const {
    return ReplaceAll(ReplaceAll(text, "$S", tag_), "$D",
                      escaped ? EscapeRegEditText(drive_.Root()) : drive_.Root());
  }
  void Load(const char* fixture) {
    LoadRegistryFixture(*store_, Expand(fixture, true));
  }
  // The records that name the test's entries, in upper case: the registry
  // keeps a key's first spelling ("SOFTWARE" or "Software"), and the file
  // list reports the spelling it finds.
  Lines Ours(const Lines& records) const {
    Lines ours;
    for (const std::string& line : records) {
      if (line.find(tag_) != std::string::npos ||
          line.find(drive_.Root()) != std::string::npos) {
        ours.push_back(UpcaseUtf8(line));
      }
    }
    return ours;
  }

  std::string tag_;
  testing::TestDrive drive_;
  testing::TestEnvironment environment_;
  std::unique_ptr<RegistryStore> store_ = testing::MakeTestRegistryStore();
};

TEST_F(WholeScanTest, FindsOnePlantedProblemOfEveryKindAndNoneOfTheSoundOnes) {
  TFolderSet folders = testing::FolderSetOn(drive_);
  // Under Wine the registry is a 64-bit one with its 32-bit view.
  folders.Wow = environment_.Environment().WowLayout();
  TFileReferences refs(folders, drive_.FileSystem(), environment_.Environment(),
                       *store_);
  Load(kPlanted);

  const ScanResult scan = RunFullScan(*store_, refs);

  ASSERT_TRUE(scan.finished);
  EXPECT_FALSE(scan.failed);
  EXPECT_EQ(scan.summary,
            std::to_string(scan.records.size()) + " registry error(s) found");
  Lines expected;
  for (const std::string& line : kExpected) {
    expected.push_back(UpcaseUtf8(Expand(line, false)));
  }
  EXPECT_EQ(Ours(scan.records), expected);
}

// What the file list reports and shows, scanned with every category or
// alone: the class checks read many of its keys first and hand it what they
// found, which must change nothing it reports or shows, down to the lines
// that explain each problem. A class the user registers over the machine's
// leaves the machine's key to the file list's own reading.
//
// The problems of {$S-0007} are three "File not found" ones: a class check
// lists it and reads two of its keys, and the file list must still find all
// three, in the registry's order.
TEST_F(WholeScanTest, TheFileListReportsAndShowsTheSameAfterTheClassChecks) {
  TFolderSet folders = testing::FolderSetOn(drive_);
  folders.Wow = environment_.Environment().WowLayout();
  TFileReferences refs(folders, drive_.FileSystem(), environment_.Environment(),
                       *store_);
  Load(kPlanted);
  Load(R"fixture(
    [HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{$S-0006}\InprocServer32]
    @="$D\\gone\\machine.dll"
    "ThreadingModel"="Both"
    [HKEY_CURRENT_USER\Software\Classes\CLSID\{$S-0006}\InprocServer32]
    @="$D\\gone\\user.dll"
    [HKEY_CURRENT_USER\Software\Classes\CLSID\{$S-0006}\ProgID]
    @="$S.User"
    [HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{$S-0007}\ProgID]
    @="$D\\gone\\progid.txt"
    [HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{$S-0007}\Implemented Categories\{$S-0008}]
    @="$D\\gone\\category.txt"
    [HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{$S-0007}\InprocServer32]
    @="$D\\gone\\server7.dll"
  )fixture");

  struct Seen {
    Lines records;  // the file list's, with their explanations
    Lines shown;    // status texts and progress positions, in order
  };
  const auto scan = [&](std::uint16_t categories) {
    TQueueDispatcher dispatcher;
    TRegistryCheckThread engine(*store_, dispatcher, nullptr, MakeAllChecks(refs));
    engine.Categories = categories;
    engine.ExplainProblems = true;
    Seen seen;
    engine.OnShowStatus = [&seen](TRegistryCheckThread& e) {
      seen.shown.push_back(e.StatusText);
    };
    engine.OnShowProgress = [&seen](TRegistryCheckThread& e) {
      seen.shown.push_back(std::to_string(e.ProgressPosition));
    };
    engine.Start();
    engine.WaitFor();
    EXPECT_EQ(engine.FatalException(), nullptr);
    for (const auto& record : engine.Errors) {
      if (record->Description != "File not found") continue;
      std::string line = RecordLine(*record);
      for (const std::string& tested : record->Tested) line += " | " + tested;
      seen.records.push_back(line);
    }
    return seen;
  };
  const Seen alone = scan(cfFileList);
  Seen both = scan(cfClassesSection | cfFileList);

  EXPECT_EQ(both.records, alone.records);
  ASSERT_GE(both.shown.size(), alone.shown.size());
  both.shown.erase(both.shown.begin(),
                   both.shown.end() - static_cast<std::ptrdiff_t>(alone.shown.size()));
  EXPECT_EQ(both.shown, alone.shown);
  const std::string machineKey = UpcaseUtf8(Expand(
      "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{$S-0006}\\InprocServer32 |  | "
      "$D\\gone\\machine.dll | File not found",
      false));
  EXPECT_EQ(std::count_if(alone.records.begin(), alone.records.end(),
                          [&](const std::string& line) {
                            return UpcaseUtf8(line).rfind(machineKey, 0) == 0;
                          }),
            1);
  const std::string listedEntry = UpcaseUtf8(Expand("{$S-0007}", false));
  EXPECT_EQ(std::count_if(alone.records.begin(), alone.records.end(),
                          [&](const std::string& line) {
                            return UpcaseUtf8(line).find(listedEntry) != std::string::npos;
                          }),
            3);
  EXPECT_NE(std::find_if(alone.records.begin(), alone.records.end(),
                         [&](const std::string& line) {
                           return line.find(" | file ") != std::string::npos;
                         }),
            alone.records.end())
      << "the records explain nothing";
  Load(R"fixture(
    [-HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{$S-0006}]
    [-HKEY_CURRENT_USER\Software\Classes\CLSID\{$S-0006}]
    [-HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{$S-0007}]
  )fixture");
}

#ifdef _WIN32

// The prefix's registry as Wine made it, scanned with the folders the system
// reports. The pristine scan must run to its summary (nothing in Wine's own
// entries may end it early); planting broken entries, whose files existed
// and were then removed, must add exactly their problems and nothing else.
TEST_F(WholeScanTest, OverThePrefixRegistryAddsExactlyThePlantedProblems) {
  TFolderSet folders = BuildFolderSet(environment_.Environment(), *store_);
  TFileReferences refs(folders, drive_.FileSystem(), environment_.Environment(),
                       *store_);

  const ScanResult pristine = RunFullScan(*store_, refs);
  // What Wine's own registry holds that the scan takes for broken, for a
  // person to judge in the log.
  std::printf("pristine prefix: %s\n", pristine.summary.c_str());
  for (const std::string& line : pristine.records) std::printf("  %s\n", line.c_str());
  ASSERT_TRUE(pristine.finished);
  EXPECT_FALSE(pristine.failed);
  EXPECT_EQ(pristine.summary,
            pristine.records.empty()
                ? "No errors found"
                : std::to_string(pristine.records.size()) + " registry error(s) found");

  for (const char* name : {"server.dll", "library.tlb", "shared.dll", "start.exe",
                           "app.exe", "uninstall.exe", "font.ttf", "beep.wav",
                           "document.txt"}) {
    drive_.MakeFile(std::string("gone\\") + name);
    std::filesystem::remove(drive_.HostPath(std::string("gone\\") + name));
  }
  Load(kPlanted);
  const ScanResult planted = RunFullScan(*store_, refs);
  ASSERT_TRUE(planted.finished);
  EXPECT_FALSE(planted.failed);

  std::multiset<std::string> before(pristine.records.begin(), pristine.records.end());
  Lines added;
  for (const std::string& line : planted.records) {
    const auto found = before.find(line);
    if (found != before.end()) {
      before.erase(found);
    } else {
      added.push_back(UpcaseUtf8(line));
    }
  }
  Lines expected;
  for (const std::string& line : kExpected) {
    expected.push_back(UpcaseUtf8(Expand(line, false)));
  }
  EXPECT_EQ(added, expected);
  EXPECT_TRUE(before.empty()) << "a record of the pristine scan went missing";
}

#endif

}  // namespace
}  // namespace tidewell
