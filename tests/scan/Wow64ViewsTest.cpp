// The two views of a 64-bit Windows: every reference is resolved in the view
// of the key it was found in, and a key both views share is reported once.
// Natively the registry is the in-memory store and the system folders lie in
// a test folder; under Wine (a 64-bit prefix) they are the prefix's own, with
// files planted in C:\windows\syswow64 and keys below Wow6432Node. Each valid
// entry stands beside a broken one of the same shape, which must still be
// reported.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/TextEncoding.h"
#include "registry/MemoryRegistryStore.h"
#include "registry/Registry.h"
#include "scan/ClassChecks.h"
#include "scan/FileListCheck.h"
#include "scan/FileRefText.h"
#include "scan/QueueDispatcher.h"
#include "scan/RegistryViews.h"
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

// --- Which view a key belongs to --------------------------------------------

TEST(RegistryViews, KeysBelongToTheViewWindowsGivesThem) {
  constexpr auto k64 = TWowLayout::Native64;
  constexpr auto hklm = TRootKey::LocalMachine;
  constexpr auto hkcr = TRootKey::ClassesRoot;
  EXPECT_EQ(ViewOfKey(TWowLayout::None, hklm, "SOFTWARE\\Wow6432Node\\X"), TRegView::Own);
  EXPECT_EQ(ViewOfKey(k64, hklm, "\\SOFTWARE\\WOW6432NODE\\Vendor"), TRegView::Bits32);
  EXPECT_EQ(ViewOfKey(k64, hklm, "SOFTWARE\\Vendor"), TRegView::Bits64);
  EXPECT_EQ(ViewOfKey(TWowLayout::Wow32, hklm, "SOFTWARE\\Vendor"), TRegView::Bits32);
  EXPECT_EQ(ViewOfKey(k64, hkcr, "interface\\{1}"), TRegView::Bits64);
  // Shared: class keys other than the COM folders, the SOFTWARE keys Windows
  // shares, everything outside SOFTWARE.
  EXPECT_EQ(ViewOfKey(k64, hkcr, "Vendor.Document\\CLSID"), TRegView::Both);
  EXPECT_EQ(ViewOfKey(k64, hklm, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\x.exe"),
            TRegView::Both);
  EXPECT_EQ(ViewOfKey(k64, hklm, "SYSTEM\\CurrentControlSet\\Services\\x"), TRegView::Both);
  // The same key reached a second way is walked at one place only.
  EXPECT_TRUE(IsSharedKeyMetAgain(k64, hklm, "SOFTWARE\\Wow6432Node\\Classes"));
  EXPECT_FALSE(IsSharedKeyMetAgain(k64, hklm, "SOFTWARE\\Classes\\Wow6432Node\\CLSID"));
}

TEST(RegistryViews, SystemFilesOfTheOtherViewAreLookedForWhereWindowsKeepsThem) {
  TFolderSet folders;
  folders.WindowsFolder = "C:\\Windows";
  folders.SystemFolder = "C:\\Windows\\system32";
  folders.Wow = TWowLayout::Native64;
  EXPECT_EQ(PathsInView(folders, TRegView::Bits32, "c:\\windows\\system32\\x.dll"),
            Lines{"C:\\Windows\\SysWOW64\\x.dll"});
  EXPECT_EQ(PathsInView(folders, TRegView::Both, "C:\\Windows\\System32/x.dll"),
            (Lines{"C:\\Windows\\System32/x.dll", "C:\\Windows\\SysWOW64/x.dll"}));
  // Not System32, or a folder Windows keeps out of the redirection.
  for (const char* path : {"C:\\Windows\\System32x\\a.dll", "C:\\Windows\\Sysnative\\a.dll",
                           "C:\\Windows\\System32\\drivers\\etc\\hosts"}) {
    EXPECT_EQ(PathsInView(folders, TRegView::Bits32, path), Lines{path});
  }
  folders.Wow = TWowLayout::Wow32;
  EXPECT_EQ(PathsInView(folders, TRegView::Both, "C:\\Windows\\System32\\x.dll"),
            (Lines{"C:\\Windows\\System32\\x.dll", "C:\\Windows\\Sysnative\\x.dll"}));
}

// --- The registry's views, in both stores -----------------------------------

class Wow64ViewsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tag_ = std::string("TwWow_") +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
#ifdef _WIN32
    folders_ = BuildFolderSet(environment_.Environment(), *store_);
#else
    folders_ = testing::FolderSetOn(drive_);
    folders_.Wow = TWowLayout::Native64;
#endif
    drive_.MakeFolder("gone");
  }

  void TearDown() override {
    engine_.reset();
    Load(R"(
      [-HKEY_CLASSES_ROOT\$S]
      [-HKEY_CLASSES_ROOT\Wow6432Node\$S]
      [-HKEY_CLASSES_ROOT\$S.Shared]
      [-HKEY_CLASSES_ROOT\TypeLib\{$S-L}]
      [-HKEY_LOCAL_MACHINE\SOFTWARE\$S]
      [-HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\$S]
      [-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\$S.exe]
      [-HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\App Paths\$S.exe]
      [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Run]
      "$S"=-
      [HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\Run]
      "$S"=-
      [-HKEY_CURRENT_USER\Software\$S]
    )");
    for (const std::string& file : systemFiles_) std::remove(file.c_str());
  }

  // "$S" is the test's own name, "$D" the test folder, "$W" the Windows
  // folder (all escaped for the fixture text).
  std::string Expand(const std::string& text, bool escaped) const {
    const auto esc = [escaped](const std::string& s) {
      return escaped ? EscapeRegEditText(s) : s;
    };
    return ReplaceAll(ReplaceAll(ReplaceAll(text, "$S", tag_), "$D", esc(drive_.Root())),
                      "$W", esc(folders_.WindowsFolder));
  }
  void Load(const std::string& fixture) {
    LoadRegistryFixture(*store_, Expand(fixture, true));
  }

  // A file in a folder of the Windows folder ("System32", "SysWOW64").
  void PlantSystemFile(const std::string& folder, const std::string& name) {
#ifdef _WIN32
    const std::string path = folders_.WindowsFolder + "\\" + folder + "\\" + Expand(name, false);
    std::ofstream(path) << "x";
    systemFiles_.push_back(path);
    ASSERT_TRUE(drive_.FileSystem().FileExists(path)) << path;
#else
    drive_.MakeFile("Windows\\" + folder + "\\" + Expand(name, false));
#endif
  }

  void MakeEngine() {
    refs_ = std::make_unique<TFileReferences>(
        folders_, drive_.FileSystem(), environment_.Environment(), *store_);
    AddClassChecks(checks_, *refs_);
    engine_ = std::make_unique<TRegistryCheckThread>(*store_, dispatcher_,
                                                     nullptr, checks_);
  }
  void Walk(TRootKey root, const std::string& path) {
    engine_->Registry.CloseKey();
    engine_->Registry.SetRootKey(root);
    ScanFileListKey(*engine_, *refs_, Expand(path, false));
  }

  Lines Records() const {
    Lines lines;
    for (const auto& record : engine_->Errors) {
      const std::string line = TRegistryCheckThread::RegistryErrorKeyText(*record) + " | " +
                               record->ValueName + " | " + record->ValueData + " | " +
                               record->Description;
      if (line.find(tag_) != std::string::npos) lines.push_back(line);
    }
    return lines;
  }
  Lines Expected(const Lines& lines) const {
    Lines expanded;
    for (const std::string& line : lines) expanded.push_back(Expand(line, false));
    return expanded;
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
  std::vector<std::string> systemFiles_;
};

TEST_F(Wow64ViewsTest, AnOpenInThe32BitViewFindsTheKeysBelowWow6432Node) {
  Load(R"(
    [HKEY_CLASSES_ROOT\Wow6432Node\$S\CLSID\{$S-32}]
    [HKEY_CLASSES_ROOT\$S\CLSID\{$S-64}]
    [HKEY_CLASSES_ROOT\$S.Shared]
    [HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\$S\Key32]
  )");
  TRegistry registry(*store_);
  registry.SetRootKey(TRootKey::ClassesRoot);
  const auto exists = [&](std::uint32_t view, const std::string& path) {
    registry.SetView(view);
    return registry.KeyExists(Expand(path, false));
  };
  EXPECT_FALSE(exists(0, "$S\\CLSID\\{$S-32}"));
  EXPECT_TRUE(exists(access::Wow64Key32, "$S\\CLSID\\{$S-32}"));
  EXPECT_FALSE(exists(access::Wow64Key32, "$S\\CLSID\\{$S-64}"));
  EXPECT_TRUE(exists(access::Wow64Key64, "$S\\CLSID\\{$S-64}"));
  // On Windows a class key that the 32-bit classes do not hold is shared;
  // Wine 8 shows the 32-bit view nothing but what they hold.
#ifdef _WIN32
  const bool shared = false;
#else
  const bool shared = true;
#endif
  EXPECT_EQ(exists(access::Wow64Key32, "$S.Shared"), shared);
  registry.SetRootKey(TRootKey::LocalMachine);
  EXPECT_FALSE(exists(0, "SOFTWARE\\$S\\Key32"));
  EXPECT_TRUE(exists(access::Wow64Key32, "SOFTWARE\\$S\\Key32"));
  EXPECT_EQ(exists(access::Wow64Key32, "SOFTWARE\\Classes\\$S.Shared"), shared);
  // The view also holds for a key opened to be read.
  registry.SetView(access::Wow64Key32);
  EXPECT_TRUE(registry.OpenKeyReadOnly(Expand("\\SOFTWARE\\$S\\Key32", false)));
  registry.CloseKey();
}

TEST_F(Wow64ViewsTest, AClassKeyBothViewsShareMayNameAClassOfEitherView) {
  Load(R"(
    [HKEY_CLASSES_ROOT\Wow6432Node\$S\CLSID\{$S-32}]
    [HKEY_CLASSES_ROOT\$S\Prog32\CLSID]
    @="{$S-32}"
    [HKEY_CLASSES_ROOT\$S\ProgGone\CLSID]
    @="{$S-99}"
    [HKEY_CLASSES_ROOT\$S\.ext32\PersistentHandler]
    @="{$S-32}"
    [HKEY_CLASSES_ROOT\$S\.extgone\PersistentHandler]
    @="{$S-98}"
  )");
  MakeEngine();
  engine_->ExplainProblems = true;
  checks_.CheckClasses(*engine_, TRootKey::ClassesRoot, Expand("$S\\", false));
  checks_.CheckFileExtensions(*engine_, TRootKey::ClassesRoot, Expand("\\$S\\", false));
  EXPECT_EQ(Records(),
            Expected({
                "HKEY_CLASSES_ROOT\\$S\\ProgGone\\CLSID |  | {$S-99} | CLSID registry key does not exist",
                "HKEY_CLASSES_ROOT\\$S\\.extgone\\PersistentHandler |  | {$S-98} | PersistentHandler registry key does not exist",
            }));
  // Why: both views were asked.
  ASSERT_FALSE(engine_->Errors.empty());
  bool asked32 = false;
  for (const std::string& line : engine_->Errors.front()->Tested) {
    asked32 = asked32 || line == Expand("key HKEY_CLASSES_ROOT\\$S\\CLSID\\{$S-99} in the "
                                        "32-bit view: missing", false);
  }
  EXPECT_TRUE(asked32);
}

TEST_F(Wow64ViewsTest, FilesOfA32BitKeyAreTheFilesA32BitProgramSees) {
  PlantSystemFile("SysWOW64", "$S-32.dll");
  PlantSystemFile("System32", "$S-64.dll");
  Load(R"(
    [HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\$S\InprocServer32]
    @="$W\\System32\\$S-32.dll"
    "Only64"="$W\\System32\\$S-64.dll"
    [HKEY_LOCAL_MACHINE\SOFTWARE\$S]
    "Only32"="$W\\System32\\$S-32.dll"
    "Own"="$W\\system32\\$S-64.dll"
    [HKEY_CURRENT_USER\Software\$S]
    "Either"="$W\\System32\\$S-32.dll"
    "Neither"="$W\\System32\\$S-none.dll"
  )");
  MakeEngine();
  // As in a scan, which remembers the texts it found: the same text found in
  // the 32-bit view is looked for afresh in the 64-bit one.
  const std::shared_ptr<void> scan = refs_->BeginScan();
  Walk(TRootKey::LocalMachine, "\\SOFTWARE\\Wow6432Node\\$S");
  Walk(TRootKey::LocalMachine, "\\SOFTWARE\\$S");
  Walk(TRootKey::CurrentUser, "\\Software\\$S");
  EXPECT_EQ(Records(),
            Expected({
                "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\$S\\InprocServer32 | Only64 | $W\\System32\\$S-64.dll | File not found",
                "HKEY_LOCAL_MACHINE\\SOFTWARE\\$S | Only32 | $W\\System32\\$S-32.dll | File not found",
                "HKEY_CURRENT_USER\\Software\\$S | Neither | $W\\System32\\$S-none.dll | File not found",
            }));
}

TEST_F(Wow64ViewsTest, AClassOfThe32BitViewIsCheckedAsA32BitProgramUsesIt) {
  PlantSystemFile("SysWOW64", "$S-32.dll");
  PlantSystemFile("System32", "$S-64.dll");
  Load(R"(
    [HKEY_CLASSES_ROOT\Wow6432Node\$S\CLSID\{$S-1}\InprocServer32]
    @="$W\\System32\\$S-32.dll"
    [HKEY_CLASSES_ROOT\Wow6432Node\$S\CLSID\{$S-1}\TypeLib]
    @="{$S-L}"
    [HKEY_CLASSES_ROOT\Wow6432Node\$S\CLSID\{$S-2}\InprocServer32]
    @="$W\\System32\\$S-64.dll"
    [HKEY_CLASSES_ROOT\Wow6432Node\$S\CLSID\{$S-2}\TypeLib]
    @="{$S-Gone}"
    [HKEY_CLASSES_ROOT\TypeLib\{$S-L}]
  )");
  MakeEngine();
  checks_.CheckCLSIDs(*engine_, TRootKey::ClassesRoot,
                      Expand("Wow6432Node\\$S\\CLSID\\", false));
  EXPECT_EQ(Records(),
            Expected({
                "HKEY_CLASSES_ROOT\\Wow6432Node\\$S\\CLSID\\{$S-2}\\InprocServer32 |  | $W\\System32\\$S-64.dll | InProcServer32 file not found",
                "HKEY_CLASSES_ROOT\\Wow6432Node\\$S\\CLSID\\{$S-2}\\TypeLib |  | {$S-Gone} | TypeLib registry key does not exist",
            }));
}

TEST_F(Wow64ViewsTest, AKeyBothViewsShareIsReportedOnce) {
  // Windows shows a shared key below Wow6432Node as well; Wine links it
  // there, so planting it twice writes the same key.
  Load(R"(
    [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\$S.exe]
    @="$D\\gone\\$S.exe"
    [HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\App Paths\$S.exe]
    @="$D\\gone\\$S.exe"
    [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Run]
    "$S"="$D\\gone\\$S-64.exe"
    [HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\Run]
    "$S"="$D\\gone\\$S-32.exe"
  )");
  MakeEngine();
  Walk(TRootKey::LocalMachine, "\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion");
  Walk(TRootKey::LocalMachine, "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths");
  Walk(TRootKey::LocalMachine, "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
  Lines records = Records();
  for (std::string& line : records) line = UpcaseUtf8(line);
  Lines expected = Expected({
      "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run | $S | $D\\gone\\$S-32.exe | File not found",
      "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\$S.exe |  | $D\\gone\\$S.exe | File not found",
      "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run | $S | $D\\gone\\$S-64.exe | File not found",
  });
  for (std::string& line : expected) line = UpcaseUtf8(line);
  EXPECT_EQ(records, expected);
}

#ifndef _WIN32

// A 32-bit program on a 64-bit Windows sees the 32-bit view by default: what
// a shared key names may be in the 64-bit view, reached with KEY_WOW64_64KEY
// and through Sysnative.
TEST_F(Wow64ViewsTest, A32BitProgramLooksInThe64BitViewForWhatASharedKeyNames) {
  static_cast<MemoryRegistryStore&>(*store_).SetSeenBy32BitProgram(true);
  folders_.Wow = TWowLayout::Wow32;
  PlantSystemFile("Sysnative", "$S-64.dll");
  PlantSystemFile("System32", "$S-32.dll");
  // The class keys stand at the top of the classes, as Windows has them:
  // the 32-bit view redirects a whole top-level key that Wow6432Node holds.
  Load(R"(
    [HKEY_CLASSES_ROOT\Wow6432Node\CLSID\{$S-32}]
    [HKEY_CLASSES_ROOT\CLSID\{$S-64}]
    [HKEY_CLASSES_ROOT\$S.Prog64\CLSID]
    @="{$S-64}"
    [HKEY_CLASSES_ROOT\$S.Prog32\CLSID]
    @="{$S-32}"
    [HKEY_CLASSES_ROOT\$S.ProgGone\CLSID]
    @="{$S-99}"
    [HKEY_CURRENT_USER\Software\$S]
    "From64"="$W\\System32\\$S-64.dll"
    "Gone"="$W\\System32\\$S-none.dll"
    [HKEY_LOCAL_MACHINE\SOFTWARE\$S]
    "Only64"="$W\\System32\\$S-64.dll"
    "Own"="$W\\System32\\$S-32.dll"
  )");
  MakeEngine();
  checks_.CheckClasses(*engine_, TRootKey::ClassesRoot, "");
  Walk(TRootKey::CurrentUser, "\\Software\\$S");
  Walk(TRootKey::LocalMachine, "\\SOFTWARE\\$S");
  EXPECT_EQ(Records(),
            Expected({
                "HKEY_CLASSES_ROOT\\$S.ProgGone\\CLSID |  | {$S-99} | CLSID registry key does not exist",
                "HKEY_CURRENT_USER\\Software\\$S | Gone | $W\\System32\\$S-none.dll | File not found",
                "HKEY_LOCAL_MACHINE\\SOFTWARE\\$S | Only64 | $W\\System32\\$S-64.dll | File not found",
            }));
}

#endif

}  // namespace
}  // namespace tidewell
