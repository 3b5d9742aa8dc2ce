// The software section checks, each called on an engine from the test thread
// over a planted registry and a test drive; the last group runs them through
// a real scan to show which failures end only their category and which end
// the scan.
#include "scan/SoftwareChecks.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "scan/FileRefText.h"
#include "tests/scan/SoftwareCheckFixture.h"

namespace tidewell {
namespace {

using testing::Log;
using testing::SoftwareCheckTest;

const std::string kLM = "HKEY_LOCAL_MACHINE\\";
const std::string kVersion = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const std::string kSharedDlls = kVersion + "\\SharedDLLs";
const std::string kRun = kVersion + "\\Run";
const std::string kAppPaths = kVersion + "\\App Paths";
const std::string kUninstall = kVersion + "\\Uninstall";
const std::string kArpCache = kVersion + "\\App Management\\ARPCache";
const std::string kHtmlHelp = "SOFTWARE\\Microsoft\\Windows\\HTML Help";
const std::string kHelp = "SOFTWARE\\Microsoft\\Windows\\Help";
const std::string kNtFonts =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
const std::string kFonts = kVersion + "\\Fonts";

// ---- Shared DLLs ----------------------------------------------------------

class SharedDllsTest : public SoftwareCheckTest {
 protected:
  void PlantCounters(const Log& lines) { PlantValues(kLM + kSharedDlls, lines); }
};

TEST_F(SharedDllsTest, MissingFilesAndUnusedCountersAreReported) {
  // Named so that both backends list them in this order.
  drive.MakeFile("Program Files\\App\\a-unused.dll");
  drive.MakeFile("Program Files\\App\\b-negative.dll");
  const std::string unused = drive.Path("Program Files\\App\\a-unused.dll");
  const std::string negative = drive.Path("Program Files\\App\\b-negative.dll");
  const std::string gone = Missing("c-gone.dll");
  PlantCounters({Q(Lib()) + "=dword:00000002", Q(unused) + "=dword:00000000",
                 Q(negative) + "=dword:fffffffd", Q(gone) + "=dword:00000005"});

  CheckSharedDLLs(*engine, *refs);

  const std::string key = kLM + kSharedDlls;
  EXPECT_EQ(Records(),
            (Log{key + " | " + unused + " | " + unused + "(0) | SharedDLL not used",
                 key + " | " + negative + " | " + negative +
                     "(-3) | SharedDLL not used",
                 key + " | " + gone + " | " + gone +
                     " | SharedDLL file does not exist"}));
}

TEST_F(SharedDllsTest, ACounterThatIsNotANumberEndsOnlyThisCheck) {
  drive.MakeFile("Program Files\\App\\b-bad.dll");
  const std::string first = Missing("a-gone.dll");
  const std::string bad = drive.Path("Program Files\\App\\b-bad.dll");
  const std::string after = Missing("c-gone.dll");
  PlantCounters({Q(first) + "=dword:00000001", Q(bad) + "=hex:01,00,00,00",
                 Q(after) + "=dword:00000001"});

  EXPECT_NO_THROW(CheckSharedDLLs(*engine, *refs));

  EXPECT_EQ(Records(), (Log{kLM + kSharedDlls + " | " + first + " | " + first +
                            " | SharedDLL file does not exist"}));
  EXPECT_EQ(engine->Registry.CurrentKey(), kNoKey);
}

#ifndef _WIN32
// The exact event sequence needs a key that holds only the planted values.
TEST_F(SharedDllsTest, StatusEveryFifthValueAndProgressAfterEach) {
  Log lines;
  for (int i = 0; i < 7; ++i) {
    drive.MakeFile("Lib" + std::to_string(i) + ".dll");
    lines.push_back(Q(drive.Path("Lib" + std::to_string(i) + ".dll")) +
                    "=dword:00000001");
  }
  PlantCounters(lines);
  RecordEvents();

  CheckSharedDLLs(*engine, *refs);

  const std::string lib = drive.Path("Lib");
  EXPECT_EQ(events, (Log{"Status Examining SharedDLLs: " + lib + "0.dll",
                         "Progress 7 0", "Progress 7 1", "Progress 7 2",
                         "Progress 7 3", "Progress 7 4",
                         "Status Examining SharedDLLs: " + lib + "5.dll",
                         "Progress 7 5", "Progress 7 6"}));
}

TEST_F(SharedDllsTest, AStopEndsTheWalkAfterTheCurrentValue) {
  PlantCounters({Q(Missing("a.dll")) + "=dword:1", Q(Missing("b.dll")) + "=dword:1"});
  RecordEvents();
  engine->OnAddError = [](TRegistryCheckThread& e) { e.Terminate(); };

  CheckSharedDLLs(*engine, *refs);

  EXPECT_EQ(engine->Errors.size(), 1u);
  EXPECT_EQ(events, (Log{"Status Examining SharedDLLs: " + Missing("a.dll")}));
}
#endif

// ---- Start-up run -----------------------------------------------------------

class StartupRunTest : public SoftwareCheckTest {
 protected:
  void PlantRun(const Log& lines, TRootKey root = TRootKey::LocalMachine) {
    PlantValues(RootKeyName(root) + "\\" + kRun, lines);
  }
};

TEST_F(StartupRunTest, EmptyAndMissingCommandsAreReportedWithTheKeysBackslash) {
  const std::string gone = Missing("gone.exe");
  PlantRun({"\"TidewellApp\"=" + Q("\"" + App() + "\" /tray"),
            "\"TidewellLib\"=" + Q("rundll32.exe " + Lib() + ",Start"),
            "\"TidewellEmpty\"=\"\"",
            "\"TidewellGone\"=" + Q(gone + " -min"),
            "\"TidewellGoneLib\"=" + Q("rundll32.exe " + Missing("gone.dll") + ",Start")});

  CheckStartupRun(*engine, *refs);

  const std::string key = kLM + kRun + "\\";
  EXPECT_EQ(Records(),
            (Log{key + " | TidewellEmpty |  | Startup file does not exist",
                 key + " | TidewellGone | " + gone + " -min | Startup file does not exist",
                 key + " | TidewellGoneLib | rundll32.exe " + Missing("gone.dll") +
                     ",Start | Startup file does not exist"}));
}

TEST_F(StartupRunTest, AQuotedProgramEndsAtItsClosingQuote) {
  drive.MakeFile("Windows\\System32\\wscript.exe");
  drive.MakeFile("Data\\db.kdbx");
  drive.MakeFile("Data\\run me.vbs");
  const std::string gone = Missing("gone.exe");
  const std::string goneScript = drive.Path("Data\\gone.vbs");
  const std::string doc = "\"" + drive.Path("Data\\db.kdbx") + "\"";
  PlantRun({"\"TidewellA\"=" + Q("\"" + App() + "\" background"),
            "\"TidewellB\"=" + Q("\"" + App() + "\" " + doc),
            "\"TidewellC\"=" + Q("wscript.exe \"" + drive.Path("Data\\run me.vbs") + "\""),
            "\"TidewellD\"=" + Q("\"%SystemRoot%\\System32\\wscript.exe\" //B \"" +
                               drive.Path("Data\\run me.vbs") + "\""),
            "\"TidewellGoneA\"=" + Q("\"" + gone + "\" background"),
            "\"TidewellGoneB\"=" + Q("\"" + gone + "\" " + doc),
            "\"TidewellGoneC\"=" + Q("wscript.exe \"" + goneScript + "\""),
            "\"TidewellGoneD\"=" + Q("\"%SystemRoot%\\System32\\wscript.exe\" //B \"" +
                                   goneScript + "\"")});

  CheckStartupRun(*engine, *refs);

  const std::string key = kLM + kRun + "\\";
  const std::string text = " | Startup file does not exist";
  EXPECT_EQ(Records(),
            (Log{key + " | TidewellGoneA | \"" + gone + "\" background" + text,
                 key + " | TidewellGoneB | \"" + gone + "\" " + doc + text,
                 key + " | TidewellGoneC | wscript.exe \"" + goneScript + "\"" + text,
                 key + " | TidewellGoneD | \"%SystemRoot%\\System32\\wscript.exe\" //B \"" +
                     goneScript + "\"" + text}));
}

TEST_F(StartupRunTest, ADashInAFolderNameIsNoSwitch) {
  drive.MakeFile("Program Files\\Foo - Bar\\tool.exe");
  const std::string tool = drive.Path("Program Files\\Foo - Bar\\tool.exe");
  const std::string gone = drive.Path("Program Files\\Foo - Bar\\gone.exe");
  PlantRun({"\"TidewellA\"=" + Q("\"" + tool + "\" --hidden"),
            "\"TidewellB\"=" + Q(tool + " --hidden"),
            "\"TidewellC\"=" + Q(tool + " -q"),
            "\"TidewellGoneA\"=" + Q("\"" + gone + "\" --hidden"),
            "\"TidewellGoneB\"=" + Q(gone + " --hidden"),
            "\"TidewellGoneC\"=" + Q(gone + " -q")});

  CheckStartupRun(*engine, *refs);

  const std::string key = kLM + kRun + "\\";
  const std::string text = " | Startup file does not exist";
  EXPECT_EQ(Records(), (Log{key + " | TidewellGoneA | \"" + gone + "\" --hidden" + text,
                            key + " | TidewellGoneB | " + gone + " --hidden" + text,
                            key + " | TidewellGoneC | " + gone + " -q" + text}));
}

TEST_F(StartupRunTest, OnlyTheMachineListIsExamined) {
  PlantRun({"\"TidewellUser\"=" + Q(Missing("gone.exe"))}, TRootKey::CurrentUser);
  CheckStartupRun(*engine, *refs);
  EXPECT_EQ(Records(), Log{});
}

TEST_F(StartupRunTest, ACommandThatIsNotTextEndsTheScan) {
  PlantRun({"\"TidewellNumber\"=dword:00000001"});
  EXPECT_THROW(CheckStartupRun(*engine, *refs), ERegistryException);
  EXPECT_EQ(engine->Registry.CurrentKey(), kNoKey);
}

// ---- Application paths ------------------------------------------------------

class AppPathsTest : public SoftwareCheckTest {
 protected:
  void PlantEntry(const std::string& name, const std::string& values) {
    const std::string key = "[" + kLM + kAppPaths + "\\" + name + "]\n";
    Plant(key + values, "[-" + kLM + kAppPaths + "\\" + name + "]\n");
  }
};

TEST_F(AppPathsTest, EntriesWithoutAnExistingProgramAreReported) {
  drive.MakeFile("Private\\TidewellBare.exe");
  const std::string gone = Missing("gone.exe");
  PlantEntry("TidewellAppOk.exe", "@=" + Q(App()) + "\n");
  PlantEntry("TidewellAppGone.exe", "@=" + Q(gone) + "\n");
  PlantEntry("TidewellAppEmpty.exe", "\"Path\"=" + Q(drive.Root()) + "\n");
  // A bare name is looked for in the entry's own search folders.
  PlantEntry("TidewellAppBare.exe", "@=\"TidewellBare.exe\"\n\"Path\"=" +
                                        Q(drive.Path("Nowhere") + ";\"" +
                                          drive.Path("Private") + "\";") + "\n");
  // "sPath" is no search list of the system's: the bare name is not found.
  PlantEntry("TidewellAppSPath.exe", "@=\"TidewellBare.exe\"\n\"sPath\"=" +
                                         Q(drive.Path("Private")) + "\n");

  CheckAppPaths(*engine, *refs);

  const std::string key = kLM + kAppPaths + "\\";
  EXPECT_EQ(Records(),
            (Log{key + "TidewellAppEmpty.exe |  |  | Application does not exists",
                 key + "TidewellAppGone.exe |  | " + gone +
                     " | Application does not exists",
                 key + "TidewellAppSPath.exe |  | TidewellBare.exe | Application "
                       "does not exists"}));
}

TEST_F(AppPathsTest, SearchFoldersThatAreNotTextAreLeftAside) {
  PlantEntry("TidewellAppBytes.exe", "@=\"kernel32.dll\"\n\"Path\"=hex:43,3a\n");
  PlantEntry("TidewellAppBytesGone.exe", "@=\"TidewellGone.exe\"\n\"Path\"=hex:43,3a\n");
  PlantEntry("TidewellAppNumber.exe", "@=" + Q(App()) + "\n\"Path\"=dword:00000001\n");
  PlantEntry("TidewellAppNumberGone.exe", "@=" + Q(Missing("gone.exe")) +
                                              "\n\"Path\"=dword:00000001\n");

  CheckAppPaths(*engine, *refs);

  const std::string key = kLM + kAppPaths + "\\";
  EXPECT_EQ(Records(),
            (Log{key + "TidewellAppBytesGone.exe |  | TidewellGone.exe | Application does not exists",
                 key + "TidewellAppNumberGone.exe |  | " + Missing("gone.exe") +
                     " | Application does not exists"}));
}

TEST_F(AppPathsTest, AProgramValueThatIsNotTextEndsTheScan) {
  PlantEntry("TidewellAppNumber.exe", "@=dword:00000001\n");
  EXPECT_THROW(CheckAppPaths(*engine, *refs), ERegistryException);
  EXPECT_EQ(engine->Registry.CurrentKey(), kNoKey);
}

#ifndef _WIN32
TEST_F(AppPathsTest, StatusEveryFifthEntryProgressAfterEachAndStopBeforeNext) {
  for (char c = 'a'; c <= 'g'; ++c) {
    PlantEntry(std::string("Tidewell") + c + ".exe", "@=" + Q(App()) + "\n");
  }
  RecordEvents();
  engine->OnShowProgress = [this](TRegistryCheckThread& e) {
    events.push_back("Progress " + std::to_string(e.ProgressMax) + " " +
                     std::to_string(e.ProgressPosition));
    if (e.ProgressPosition == 5) e.Terminate();
  };

  CheckAppPaths(*engine, *refs);

  EXPECT_EQ(events, (Log{"Status Examining Application Paths: Tidewella.exe",
                         "Progress 7 0", "Progress 7 1", "Progress 7 2",
                         "Progress 7 3", "Progress 7 4",
                         "Status Examining Application Paths: Tidewellf.exe",
                         "Progress 7 5"}));
}
#endif

// ---- Uninstall entries ------------------------------------------------------

class UninstallTest : public SoftwareCheckTest {
 protected:
  void PlantEntry(const std::string& base, const std::string& name,
                  const std::string& values) {
    Plant("[" + kLM + base + "\\" + name + "]\n" + values,
          "[-" + kLM + base + "\\" + name + "]\n");
  }
  void PlantUninstall(const std::string& name, const std::string& values) {
    PlantEntry(kUninstall, name, values);
  }
};

TEST_F(UninstallTest, EntriesThatHoldNothingOrNameAMissingProgramAreReported) {
  const std::string gone = Missing("uninst.exe");
  PlantUninstall("TidewellOk", "\"UninstallString\"=" + Q("\"" + App() + "\" /uninstall") + "\n");
  PlantUninstall("TidewellMsi", "\"UninstallString\"=\"MsiExec.exe /X{1234}\"\n");
  PlantUninstall("TidewellGone", "\"DisplayName\"=\"Gone\"\n\"UninstallString\"=" + Q(gone + " /S") + "\n");
  PlantUninstall("TidewellNothing", "");
  PlantUninstall("TidewellEmptyTexts", "\"DisplayName\"=\"\"\n\"UninstallString\"=\"\"\n");
  PlantUninstall("TidewellNoCommand", "\"DisplayName\"=\"App\"\n\"Version\"=dword:1\n");
  PlantUninstall("TidewellQuiet", "\"QuietUninstallString\"=" + Q(gone) + "\n");
  PlantUninstall("TidewellBlank", "\"UninstallString\"=\"  \"\n\"Size\"=dword:1\n");
  // Look-alikes that are never reported.
  PlantUninstall("TidewellSystem", "\"SystemComponent\"=dword:00000001\n\"UninstallString\"=" + Q(gone) + "\n");
  PlantUninstall("TidewellWithSub", "\"UninstallString\"=" + Q(gone) + "\n");
  PlantEntry(kUninstall + "\\TidewellWithSub", "Sub", "");
  PlantUninstall("TidewellRundll", "\"UninstallString\"=" + Q("RunDll32.EXE " + Missing("x.dll") + ",Remove") + "\n");
  PlantUninstall("TidewellNotSystem", "\"SystemComponent\"=dword:00000000\n\"UninstallString\"=" + Q(gone) + "\n");

  CheckUninstall(*engine, *refs);

  const std::string key = kLM + kUninstall + "\\";
  const std::string text = " | Application does not exists";
  EXPECT_EQ(Records(), (Log{key + "TidewellBlank |  |   " + text,
                            key + "TidewellEmptyTexts |  | " + text,
                            key + "TidewellGone |  | " + gone + " /S" + text,
                            key + "TidewellNoCommand |  | " + text,
                            key + "TidewellNothing |  | " + text,
                            key + "TidewellNotSystem |  | " + gone + text,
                            key + "TidewellQuiet |  | " + gone + text}));
}

TEST_F(UninstallTest, CachedEntriesNeedAnUninstallEntryOfTheSameName) {
  PlantUninstall("TidewellKnown", "\"UninstallString\"=" + Q(App()) + "\n");
  PlantEntry(kArpCache, "TIDEWELLKNOWN", "\"SlowInfoCache\"=hex:01\n");
  PlantEntry(kArpCache, "TidewellOrphan", "\"SlowInfoCache\"=hex:01\n");

  CheckUninstall(*engine, *refs);

  EXPECT_EQ(Records(), (Log{kLM + kArpCache +
                            "\\TidewellOrphan |  |  | Application does not exists"}));
}

TEST_F(UninstallTest, AStopIsNoticedOnlyInTheCacheWalkAndNothingIsAnnounced) {
  PlantUninstall("TidewellGone", "\"UninstallString\"=" + Q(Missing("u.exe")) + "\n");
  PlantEntry(kArpCache, "TidewellOrphan", "");
  RecordEvents();
  engine->Terminate();

  CheckUninstall(*engine, *refs);

  EXPECT_EQ(Records(), (Log{kLM + kUninstall + "\\TidewellGone |  | " +
                            Missing("u.exe") + " | Application does not exists"}));
  // No status and no progress at all.
  for (const std::string& event : events) {
    EXPECT_EQ(event.rfind("AddError", 0), 0u) << event;
  }
}

TEST_F(UninstallTest, ASystemComponentMarkThatIsNotANumberEndsTheScan) {
  PlantUninstall("TidewellOddMark", "\"SystemComponent\"=\"1\"\n");
  EXPECT_THROW(CheckUninstall(*engine, *refs), ERegistryException);
  EXPECT_EQ(engine->Registry.CurrentKey(), kNoKey);
}

// ---- Help files ---------------------------------------------------------------

class HelpFilesTest : public SoftwareCheckTest {
 protected:
  void PlantHelp(const std::string& key, const Log& lines) {
    PlantValues(kLM + key, lines);
  }
};

TEST_F(HelpFilesTest, FilesMissingFromTheirFolderAreReportedHtmlHelpFirst) {
  drive.MakeFile("Help\\TidewellA.chm");
  drive.MakeFile("Help\\TidewellB.chm");
  drive.MakeFile("Windows\\TidewellD.hlp");
  const std::string folder = drive.Path("Help");
  PlantHelp(kHelp, {"\"TidewellD.hlp\"=\"\"",  // found by its bare name
                    "\"TidewellE.hlp\"=\"\""});
  PlantHelp(kHtmlHelp, {"\"TidewellA.chm\"=" + Q(folder),
                        "\"TidewellB.chm\"=" + Q("\"" + folder + "\\\""),
                        "\"TidewellC.chm\"=" + Q(folder + "\\")});

  CheckHelpFiles(*engine, *refs);

  EXPECT_EQ(Records(),
            (Log{kLM + kHtmlHelp + " | TidewellC.chm | " + folder +
                     "\\TidewellC.chm | HTML Help file does not exists",
                 kLM + kHelp + " | TidewellE.hlp | TidewellE.hlp | Help file "
                               "does not exists"}));
}

TEST_F(HelpFilesTest, AFolderOfNothingButQuotesNamesNoFolder) {
  drive.MakeFile("Windows\\TidewellQ.hlp");
  PlantHelp(kHelp, {"\"TidewellQ.hlp\"=\"\\\"\"",
                    "\"TidewellR.hlp\"=\"\\\"\\\"\""});

  CheckHelpFiles(*engine, *refs);

  EXPECT_EQ(Records(), (Log{kLM + kHelp + " | TidewellR.hlp | TidewellR.hlp | "
                                          "Help file does not exists"}));
  EXPECT_EQ(HelpFolder("\""), "");
  EXPECT_EQ(HelpFolder("\"\""), "");
  EXPECT_EQ(HelpFolder("\"C:\\Help\""), "C:\\Help\\");
  EXPECT_EQ(HelpFolder("C:\\Help\\"), "C:\\Help\\");
}

TEST_F(HelpFilesTest, ADefaultValueThatIsNotTextEndsTheScan) {
  PlantHelp(kHelp, {"@=dword:00000001"});
  EXPECT_THROW(CheckHelpFiles(*engine, *refs), ERegistryException);
  EXPECT_EQ(engine->Registry.CurrentKey(), kNoKey);
}

// ---- Fonts --------------------------------------------------------------------

class FontsTest : public SoftwareCheckTest {
 protected:
  void PlantFonts(const std::string& key, const Log& lines) {
    PlantValues(kLM + key, lines);
  }
};

TEST_F(FontsTest, MissingFontFilesAreReportedWithNameAndFile) {
  const std::string gone = drive.Path("Windows\\Fonts\\tidewellgone.ttf");
  PlantFonts(kNtFonts, {"\"Tidewell Sans (TrueType)\"=\"tidewellsans.ttf\"",
                       "\"Tidewell Bare (TrueType)\"=\"tidewellbare.ttf\"",
                       "\"Tidewell Full (TrueType)\"=" + Q(gone)});
  PlantFonts(kFonts, {"\"Tidewell Win (TrueType)\"=\"tidewellwin.fon\""});

  CheckFonts(*engine, *refs);

  EXPECT_EQ(Records(),
            (Log{kLM + kNtFonts + " | Tidewell Bare (TrueType) | Tidewell Bare "
                                  "(TrueType) - tidewellbare.ttf | Font file "
                                  "does not exists",
                 kLM + kNtFonts + " | Tidewell Full (TrueType) | Tidewell Full "
                                  "(TrueType) - " + gone +
                     " | Font file does not exists",
                 kLM + kFonts + " | Tidewell Win (TrueType) | Tidewell Win "
                                "(TrueType) - tidewellwin.fon | Font file does "
                                "not exists"}));
}

TEST_F(FontsTest, AMissingSectionIsSkippedAndTheOtherExamined) {
#ifndef _WIN32
  // The Windows NT list exists in every Wine prefix; here it is absent.
  ASSERT_EQ(DumpRegistryTree(*store, TRootKey::LocalMachine, kNtFonts), "");
#endif
  PlantFonts(kFonts, {"\"Tidewell Win (TrueType)\"=\"tidewellwin.fon\""});
  CheckFonts(*engine, *refs);
  EXPECT_EQ(Records().size(), 1u);
}

#ifndef _WIN32
TEST_F(FontsTest, TheDefaultValueIsSkippedAndAStopLeavesTheSecondSection) {
  PlantFonts(kNtFonts, {"@=\"tidewellgone.ttf\"",
                       "\"Tidewell Sans (TrueType)\"=\"tidewellsans.ttf\""});
  PlantFonts(kFonts, {"\"Tidewell Win (TrueType)\"=\"tidewellwin.fon\""});
  RecordEvents();
  engine->OnShowProgress = [this](TRegistryCheckThread& e) {
    events.push_back("Progress " + std::to_string(e.ProgressMax) + " " +
                     std::to_string(e.ProgressPosition));
    e.Terminate();
  };

  CheckFonts(*engine, *refs);

  EXPECT_TRUE(engine->Errors.empty());
  // The stop comes after the first value's progress: the second value is
  // examined up to the stop test and the Windows list not at all.
  EXPECT_EQ(events, (Log{"Status Examining Windows NT Fonts: ",
                         "Progress 2 0"}));
}
#endif

// ---- Sounds -------------------------------------------------------------------

class SoundsTest : public SoftwareCheckTest {
 protected:
  // One application of the schemes of `root` with its events.
  void PlantApp(TRootKey root, const std::string& sounds) {
    const std::string base = RootKeyName(root) + "\\" +
                             (root == TRootKey::Users ? ".DEFAULT\\" : "") +
                             "AppEvents\\Schemes\\Apps\\TidewellApp";
    std::string text;
    std::size_t from = 0;
    // "Event.Scheme=data" lines, one per sound.
    while (from < sounds.size()) {
      const std::size_t end = sounds.find('\n', from);
      const std::string line = sounds.substr(from, end - from);
      from = end + 1;
      const std::size_t dot = line.find(".");
      const std::size_t eq = line.find('=');
      text += "[" + base + "\\" + line.substr(0, dot) + "\\" +
              line.substr(dot, eq - dot) + "]\n@=" + line.substr(eq + 1) + "\n";
    }
    Plant(text, "[-" + base + "]\n");
  }
};

TEST_F(SoundsTest, MissingSoundsOfBothSchemesAreReportedPerSection) {
  const std::string gone = drive.Path("Sounds\\gone.wav");
  PlantApp(TRootKey::CurrentUser,
           "Beep.Current=" + Q(gone) + "\nBeep.Default=" + Q(gone) +
               "\nDing.Current=\"tidewell-ding.wav\"\nDing.Default=\"\"\n");
  PlantApp(TRootKey::Users, "Beep.Current=" + Q(gone) + "\n");

  CheckSounds(*engine, *refs);

  const std::string user =
      "HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\TidewellApp\\Beep\\";
  EXPECT_EQ(Records(),
            (Log{user + ".Current |  | " + gone +
                     " | Current sound file in current user settings does not exists",
                 user + ".Default |  | " + gone +
                     " | Default sound file in current user settings does not exists",
                 "HKEY_USERS\\.DEFAULT\\AppEvents\\Schemes\\Apps\\TidewellApp\\"
                 "Beep\\.Current |  | " + gone +
                     " | Current sound file in users settings does not exists"}));
}

TEST_F(SoundsTest, ASoundThatIsNotTextEndsOnlyThisCheck) {
  const std::string gone = drive.Path("Sounds\\gone.wav");
  PlantApp(TRootKey::CurrentUser,
           "A.Current=" + Q(gone) + "\nB.Current=dword:00000001\n");
  PlantApp(TRootKey::Users, "A.Current=" + Q(gone) + "\n");

  EXPECT_NO_THROW(CheckSounds(*engine, *refs));

  ASSERT_EQ(Records().size(), 1u);
  EXPECT_EQ(engine->Errors.back()->KeyPath,
            "AppEvents\\Schemes\\Apps\\TidewellApp\\A\\.Current");
  EXPECT_EQ(engine->Registry.CurrentKey(), kNoKey);
}

#ifndef _WIN32
TEST_F(SoundsTest, StatusForEveryEventAndAStopAfterTheCurrentEvent) {
  const std::string gone = drive.Path("Sounds\\gone.wav");
  PlantApp(TRootKey::CurrentUser, "A.Current=\"\"\nB.Current=\"\"\nC.Current=" +
                                      Q(gone) + "\n");
  PlantApp(TRootKey::Users, "A.Current=" + Q(gone) + "\n");
  RecordEvents();
  engine->OnAddError = [this](TRegistryCheckThread& e) {
    events.push_back("AddError " + e.LastError()->KeyPath);
    e.Terminate();
  };

  CheckSounds(*engine, *refs);

  EXPECT_EQ(events,
            (Log{"Status Examining current user sounds: A", "Progress 3 0",
                 "Status Examining current user sounds: B", "Progress 3 1",
                 "Status Examining current user sounds: C",
                 "AddError AppEvents\\Schemes\\Apps\\TidewellApp\\C\\.Current"}));
}
#endif

// ---- What was tested ---------------------------------------------------------

TEST_F(SoftwareCheckTest, AnExplainedMissingFileListsThePathsAndFoldersTried) {
  engine->ExplainProblems = true;
  drive.MakeFile("Program Files\\App\\unused.dll");
  const std::string unused = drive.Path("Program Files\\App\\unused.dll");
  const std::string gone = Missing("gone.dll");
  // Listed by the check in this order on both backends.
  PlantValues(kLM + kSharedDlls,
              {Q(gone) + "=dword:00000001", Q(unused) + "=dword:00000000",
               "\"TidewellGone.dll\"=dword:00000001"});
  CheckSharedDLLs(*engine, *refs);
  environment.SetVariable("PATH", drive.Path("Bin"));
  for (const auto& [name, command] :
       {std::pair<std::string, std::string>{"TidewellBare", "tidewellgone.exe /S"},
        {"TidewellDrive", gone + " /S"}}) {
    const std::string key = kLM + kUninstall + "\\" + name;
    Plant("[" + key + "]\n\"UninstallString\"=" + Q(command) + "\n",
          "[-" + key + "]\n");
  }
  CheckUninstall(*engine, *refs);

  std::vector<Log> tested;
  for (const auto& record : engine->Errors) {
    if (Has(record->ValueName + record->KeyPath, "Tidewell") ||
        Has(record->ValueName, drive.Root())) {
      tested.push_back(record->Tested);
    }
  }
  const std::string windows = drive.Path("Windows");
  // Each record lists only its own tests: the found file before the unused
  // counter does not reach the bare name's list.
  ASSERT_EQ(tested.size(), 5u);
  EXPECT_EQ(tested[0], (Log{"file " + LowerAscii(gone) + ": missing"}));
  EXPECT_EQ(tested[1], (Log{"file " + LowerAscii(unused) + ": found",
                            "counter 0: not used"}));
  EXPECT_EQ(tested[2],
            (Log{"file tidewellgone.dll: missing",
                 "searched " + windows + "\\System32: missing",
                 "searched " + windows + ": missing",
                 "searched " + windows + "\\Fonts: missing",
                 "searched " + windows + "\\Media: missing",
                 "searched " + windows + "\\Inf: missing",
                 "searched " + drive.Path("Program Files\\Common Files") +
                     "\\Borland Shared\\BDE: missing",
                 "searched " + windows + "\\System: missing"}));
  // The search for an uninstall program: PATH first, then the system and
  // Windows folders, then the system drive's root.
  ASSERT_GE(tested[3].size(), 4u);
  EXPECT_EQ(Log(tested[3].begin(), tested[3].begin() + 4),
            (Log{"searched " + drive.Path("Bin") + ": missing",
                 "searched " + windows + "\\System32: missing",
                 "searched " + windows + ": missing",
                 "searched " + windows.substr(0, 3) + ": missing"}));
  EXPECT_EQ(tested[4],
            (Log{"file " + gone + " /S: no leading part is a file"}));
}

// ---- Through a scan ---------------------------------------------------------

TEST_F(SoftwareCheckTest, AddSoftwareChecksFillsEverySoftwareSlot) {
  TScanChecks checks;
  AddSoftwareChecks(checks, *refs);
  EXPECT_TRUE(checks.CheckSharedDLLs && checks.CheckStartupRun &&
              checks.CheckAppPaths && checks.CheckUninstall &&
              checks.CheckHelpFiles && checks.CheckFonts &&
              checks.CheckSounds && checks.CheckFileList);
  EXPECT_FALSE(checks.CheckCLSIDs || checks.CheckClasses ||
               checks.CheckTypeLibs || checks.CheckInterfaces ||
               checks.CheckFileExtensions);
}

TEST_F(SoftwareCheckTest, AnUnguardedFailureEndsTheScanAGuardedOneOnlyItsCheck) {
  drive.MakeFile("bad.dll");
  const std::string bad = drive.Path("bad.dll");
  Plant("[" + kLM + kSharedDlls + "]\n" + Q(bad) + "=hex:01\n" +
            Q(Missing("shared.dll")) + "=dword:1\n",
        "[" + kLM + kSharedDlls + "]\n" + Q(bad) + "=-\n" +
            Q(Missing("shared.dll")) + "=-\n");
  Plant("[" + kLM + kRun + "]\n\"TidewellBinary\"=hex:01\n",
        "[" + kLM + kRun + "]\n\"TidewellBinary\"=-\n");
  Plant("[" + kLM + kFonts + "]\n\"Tidewell Gone\"=\"tidewellgone.ttf\"\n",
        "[" + kLM + kFonts + "]\n\"Tidewell Gone\"=-\n");
  TScanChecks checks;
  AddSoftwareChecks(checks, *refs);
  TRegistryCheckThread scan(*store, dispatcher, nullptr, checks);
  scan.Categories = cfSharedDlls | cfStartupRun | cfFonts;
  bool finished = false;
  scan.OnScanFinished = [&finished](TRegistryCheckThread&) { finished = true; };

  scan.Start();
  scan.WaitFor();

  // The shared DLL check ended on the odd counter, the scan went on to the
  // start-up check, whose failure ended it before the fonts.
  ASSERT_NE(scan.FatalException(), nullptr);
  EXPECT_THROW(std::rethrow_exception(scan.FatalException()), ERegistryException);
  EXPECT_TRUE(finished);
  EXPECT_EQ(scan.StatusText.find("found"), std::string::npos);
  EXPECT_NE(scan.StatusText, "Stopped by user");
  for (const auto& record : scan.Errors) {
    EXPECT_NE(record->ValueName, Missing("shared.dll"));
    EXPECT_NE(record->ValueName, "Tidewell Gone");
  }
}

}  // namespace
}  // namespace tidewell
