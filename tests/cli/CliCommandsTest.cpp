// The console program's commands as a user or a script meets them: what they
// print, their exit statuses, the files they read and write, and that bad
// input is reported in one line and changes nothing. The registry is the
// in-memory store with a few planted entries whose files are missing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/FileRefText.h"
#include "tests/cli/CliTestSystem.h"
#include "tests/cli/JsonReader.h"
#include "tests/cli/RegistryEntries.h"
#include "tests/support/RegistryFixture.h"

namespace tidewell {
namespace {

using testing::JsonValue;
using testing::ParseJson;

const char* const kRunKey =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kAppPathKey =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App "
    "Paths\\Office-gone.exe";

class CliCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    cli_.drive.MakeFile("ok\\start.exe");
    std::string root;
    for (char c : cli_.drive.Root()) root += c == '\\' ? std::string("\\\\") : std::string(1, c);
    LoadRegistryFixture(
        cli_.store,
        std::string("[") + kRunKey + "]\n"
            "\"Gone \\\"q\\\"\"=\"\\\"" + root + "\\\\gone\\\\start.exe\\\" /tray\"\n"
            "\"Ok\"=\"" + root + "\\\\ok\\\\start.exe\"\n"
            "[" + kAppPathKey + "]\n"
            "@=\"" + root + "\\\\gone\\\\app.exe\"\n"
            "\"Path\"=\"" + root + "\"\n");
  }
  std::string EscapedRoot() const {
    std::string root;
    for (char c : cli_.drive.Root()) root += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return root;
  }
  std::string Registry() {
    return DumpRegistryTree(cli_.store, TRootKey::LocalMachine, "") +
           DumpRegistryTree(cli_.store, TRootKey::CurrentUser, "");
  }
  void WriteAppFile(const std::string& name, const std::string& content) {
    cli_.drive.MakeFile("App\\" + name, content);
  }
  // The key texts of the problems a JSON listing holds, in order.
  static std::vector<std::string> KeyTexts(const JsonValue& document) {
    std::vector<std::string> texts;
    for (const JsonValue& problem : document["problems"].items) {
      texts.push_back(problem["keyText"].text);
    }
    return texts;
  }

  testing::CliTestSystem cli_;
};

TEST_F(CliCommands, ScanAsJsonListsEveryProblemWithItsFieldsInTheOrderFound) {
  EXPECT_EQ(cli_.Run({"scan", "--categories", "StartupRun,appPATHS", "--format=json"}), 1);
  EXPECT_EQ(cli_.Err(), "");
  const JsonValue document = ParseJson(cli_.Out());
  EXPECT_EQ(document.memberOrder,
            (std::vector<std::string>{"status", "total", "excluded", "problems"}));
  EXPECT_EQ(document["status"].text, "2 registry error(s) found");
  EXPECT_EQ(document["total"].number, 2);
  EXPECT_EQ(document["excluded"].number, 0);
  ASSERT_EQ(document["problems"].items.size(), 2u);

  const JsonValue& run = document["problems"].items[0];
  EXPECT_EQ(run.memberOrder, (std::vector<std::string>{"root", "keyPath", "valueName",
                                                       "valueData", "description",
                                                       "keyText", "tested"}));
  EXPECT_EQ(run["root"].text, "HKEY_LOCAL_MACHINE");
  EXPECT_EQ(run["keyPath"].text, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\");
  EXPECT_EQ(run["valueName"].text, "Gone \"q\"");
  EXPECT_EQ(run["valueData"].text, "\"" + cli_.drive.Path("gone\\start.exe") + "\" /tray");
  EXPECT_EQ(run["description"].text, "Startup file does not exist");
  EXPECT_EQ(run["keyText"].text, std::string(kRunKey) + "\\");

  const JsonValue& app = document["problems"].items[1];
  EXPECT_EQ(app["keyText"].text, kAppPathKey);
  EXPECT_EQ(app["valueName"].text, "");
  EXPECT_EQ(app["description"].text, "Application does not exists");
}

TEST_F(CliCommands, ScanAsTextShowsEachProblemAndTheSummary) {
  EXPECT_EQ(cli_.Run({"scan", "--categories", "AppPaths"}), 1);
  EXPECT_EQ(cli_.Out(),
            std::string("1. Application does not exists\n"
                        "   key:   ") + kAppPathKey + "\n"
            "   value: (the whole key)\n"
            "   data:  " + cli_.drive.Path("gone\\app.exe") + "\n"
            "1 registry error(s) found\n");
}

TEST_F(CliCommands, WhatWasTestedIsInTheJsonAndInTheTextWithExplain) {
  // A bare program name: its entry's own folders are searched first.
  LoadRegistryFixture(cli_.store, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\"
                                  "CurrentVersion\\App Paths\\Bare-gone.exe]\n"
                                      "@=\"bare-gone.exe\"\n"
                                      "\"Path\"=\"" + EscapedRoot() + "\"\n");
  const std::string searched = "searched " + cli_.drive.Root() + ": missing";
  const std::string office = "file " + LowerAscii(cli_.drive.Path("gone\\app.exe")) + ": missing";

  EXPECT_EQ(cli_.Run({"scan", "--categories", "AppPaths", "--format", "json"}), 1);
  const JsonValue document = ParseJson(cli_.Out());
  ASSERT_EQ(document["problems"].items.size(), 2u);
  std::vector<std::vector<std::string>> tested;
  for (const JsonValue& problem : document["problems"].items) {
    tested.emplace_back();
    for (const JsonValue& line : problem["tested"].items) tested.back().push_back(line.text);
  }
  ASSERT_GE(tested[0].size(), 2u);
  EXPECT_EQ(tested[0][0], searched);
  EXPECT_EQ(tested[0][1], "file bare-gone.exe: missing");
  EXPECT_EQ(tested[1], (std::vector<std::string>{office}));

  EXPECT_EQ(cli_.Run({"scan", "--categories", "AppPaths", "--explain"}), 1);
  const std::string text = cli_.Out();
  EXPECT_NE(text.find("   data:  bare-gone.exe\n"
                      "   tested: " + searched + "\n"
                      "           file bare-gone.exe: missing\n"),
            std::string::npos) << text;
  EXPECT_NE(text.find("   tested: " + office + "\n2 registry"), std::string::npos) << text;
  // Without --explain the listing stays as it was.
  EXPECT_EQ(cli_.Run({"scan", "--categories", "AppPaths"}), 1);
  EXPECT_EQ(cli_.Out().find("tested"), std::string::npos);
}

TEST_F(CliCommands, ProgressGoesToStandardErrorOnlyOnATerminal) {
  EXPECT_EQ(cli_.Run({"scan", "--categories", "all"}), 1);
  const std::string listing = cli_.Out();
  EXPECT_EQ(cli_.Err(), "");

  cli_.system.ProgressOnTerminal = true;
  EXPECT_EQ(cli_.Run({"scan", "--categories", "all"}), 1);
  EXPECT_EQ(cli_.Out(), listing);
  const std::string progress = cli_.Err();
  ASSERT_GE(progress.size(), 79u + 80u) << "one status line, then the wipe";
  EXPECT_EQ(progress.front(), '\r');
  // The line is wiped before the listing, so no progress text stays.
  EXPECT_EQ(progress.substr(progress.size() - 80), "\r" + std::string(78, ' ') + "\r");
  EXPECT_EQ(progress.find('\n'), std::string::npos);
}

TEST_F(CliCommands, ScanWithNothingListedEndsWithZero) {
  EXPECT_EQ(cli_.Run({"scan", "--categories", "Fonts,Sounds"}), 0);
  EXPECT_EQ(cli_.Out(), "No errors found\n");
  EXPECT_EQ(cli_.Run({"scan", "--categories", "Help", "--format", "json"}), 0);
  const JsonValue document = ParseJson(cli_.Out());
  EXPECT_EQ(document["total"].number, 0);
  EXPECT_TRUE(document["problems"].items.empty());
}

TEST_F(CliCommands, ExcludedKeysHideProblemsButTheyAreStillCounted) {
  const std::vector<std::string> scan = {"scan", "--categories", "StartupRun,AppPaths",
                                         "--format", "json"};
  // A fragment hides with its letter case only.
  WriteAppFile("ExcludedKeys.txt", "office\r\n\r\n");
  cli_.Run(scan);
  EXPECT_EQ(ParseJson(cli_.Out())["excluded"].number, 0);
  WriteAppFile("ExcludedKeys.txt", "Office\r\n");
  EXPECT_EQ(cli_.Run(scan), 1);
  JsonValue document = ParseJson(cli_.Out());
  EXPECT_EQ(document["total"].number, 2);
  EXPECT_EQ(document["excluded"].number, 1);
  EXPECT_EQ(KeyTexts(document), std::vector<std::string>{std::string(kRunKey) + "\\"});

  // A whole key text hides that key in any letter case; both listed problems
  // hidden leaves nothing listed.
  WriteAppFile("ExcludedKeys.txt",
               "Office\rHKEY_LOCAL_MACHINE\\software\\microsoft\\windows\\currentversion\\run\\");
  EXPECT_EQ(cli_.Run(scan), 0);
  document = ParseJson(cli_.Out());
  EXPECT_EQ(document["total"].number, 2);
  EXPECT_EQ(document["excluded"].number, 2);
  EXPECT_EQ(cli_.Run({"scan", "--categories", "StartupRun,AppPaths"}), 0);
  EXPECT_EQ(cli_.Out(),
            "2 registry error(s) found (2 not listed: excluded by ExcludedKeys.txt)\n");
}

TEST_F(CliCommands, WithoutCategoriesTheSettingsFileDecidesAsTheSettingsWindowWould) {
  // Missing file: every category, so the file list adds its own findings.
  EXPECT_EQ(cli_.Run({"scan", "--format", "json"}), 1);
  EXPECT_EQ(ParseJson(cli_.Out())["total"].number, 4);

  WriteAppFile("CleanupSettings.ini",
               "[frmCleanupSettings]\r\n"
               "chkAPPPath.Checked=False\r\n"
               "chkClassesSection.Checked=False\r\n"
               "chkClearFileList.Checked=False\r\n"
               "gbClearSoftware.CheckBoxChecked=True\r\n\r\n");
  EXPECT_EQ(cli_.Run({"scan", "--format", "json"}), 1);
  EXPECT_EQ(KeyTexts(ParseJson(cli_.Out())),
            std::vector<std::string>{std::string(kRunKey) + "\\"});

  // The software group unticked: its seven boxes select nothing.
  WriteAppFile("CleanupSettings.ini",
               "[frmCleanupSettings]\r\n"
               "chkClassesSection.Checked=False\r\n"
               "chkClearFileList.Checked=False\r\n"
               "gbClearSoftware.CheckBoxChecked=False\r\n");
  EXPECT_EQ(cli_.Run({"scan"}), 0);
  EXPECT_EQ(cli_.Out(), "No errors found\n");
  // The command line wins over the file.
  EXPECT_EQ(cli_.Run({"scan", "--categories", "AppPaths"}), 1);
}

TEST_F(CliCommands, AGarbledSettingsOrExcludedKeysFileIsReportedAndNothingScanned) {
  WriteAppFile("CleanupSettings.ini", "[frmCleanupSettings]\r\nchkFonts.Checked=ja\r\n");
  EXPECT_EQ(cli_.Run({"scan"}), 2);
  EXPECT_EQ(cli_.Out(), "");
  EXPECT_EQ(cli_.Err(), "tidewell-cli: " + cli_.AppPath("CleanupSettings.ini") +
                            ", line 2: \"chkFonts.Checked\" has a value that is not "
                            "True, False, a number or a quoted text\n");

  WriteAppFile("CleanupSettings.ini", "[frmCleanupSettings]\r\nchkFonts.Checked=1\r\n");
  EXPECT_EQ(cli_.Run({"scan"}), 2);
  EXPECT_EQ(cli_.Err(), "tidewell-cli: " + cli_.AppPath("CleanupSettings.ini") +
                            ": \"chkFonts.Checked\" must be True or False\n");

  WriteAppFile("ExcludedKeys.txt", std::string("\xFF\xFEO\0", 4));
  EXPECT_EQ(cli_.Run({"scan", "--categories", "all"}), 2);
  EXPECT_EQ(cli_.Out(), "");
  EXPECT_EQ(cli_.Err(), "tidewell-cli: " + cli_.AppPath("ExcludedKeys.txt") +
                            " is not 8-bit text (saved as Unicode?); save it as ANSI text\n");
}

TEST_F(CliCommands, CleanRecordsTheUndoFileFirstAndDeletesExactlyTheListedEntries) {
  WriteAppFile("ExcludedKeys.txt", "Office\r\n");
  const std::string before = Registry();
  const std::vector<std::string> beforeEntries = testing::RegistryEntries(cli_.store);
  EXPECT_EQ(cli_.Run({"clean", "--categories", "StartupRun,AppPaths", "--yes"}), 0);
  EXPECT_EQ(cli_.Err(), "");
  const std::vector<TFileInfo> files =
      cli_.drive.FileSystem().ListFolder(cli_.AppPath("restore"));
  ASSERT_EQ(files.size(), 1u);
  const std::string undoPath = cli_.AppPath("restore\\" + files[0].Name);
  const std::string out = cli_.Out();
  EXPECT_NE(out.find("2 registry error(s) found (1 not listed: excluded by "
                     "ExcludedKeys.txt)\nUndo file: " + undoPath + "\n"
                     "1 registry error(s) checked (0 registry keys and values)\n"),
            std::string::npos)
      << out;

  // Only the listed Run value went; the excluded App Paths key stayed.
  std::string expected = before;
  const std::string gone = "\"Gone \\\"q\\\"\"=";
  const std::size_t at = expected.find(gone);
  ASSERT_NE(at, std::string::npos);
  expected.erase(at, expected.find('\n', at) + 1 - at);
  EXPECT_EQ(Registry(), expected);

  EXPECT_EQ(cli_.Run({"undo", "list"}), 0);
  EXPECT_EQ(cli_.Out(), files[0].Name + "  1 entry\n");
  EXPECT_EQ(cli_.Run({"undo", "show", files[0].Name}), 0);
  EXPECT_EQ(cli_.Out(), std::string("1. [") + kRunKey + "\\]\n   \"Gone \"q\"\"=\"\"" +
                            cli_.drive.Path("gone\\start.exe") + "\" /tray\"\n");
  EXPECT_EQ(cli_.Run({"undo", "restore", undoPath}), 0);
  EXPECT_EQ(cli_.Out(), "Restored 1 of 1 entry from " + undoPath + "\n");
  // The restored value comes back; where it stands among its key's values
  // is the registry's business.
  EXPECT_EQ(testing::RegistryEntries(cli_.store), beforeEntries);
}

TEST_F(CliCommands, CleanAsksOnATerminalAndNeedsYesWithoutOne) {
  const std::string before = Registry();
  EXPECT_EQ(cli_.Run({"clean", "--categories", "AppPaths"}), 2);
  EXPECT_EQ(cli_.Err(),
            "tidewell-cli: clean: no terminal to ask on; add --yes to delete without asking\n");
  EXPECT_EQ(cli_.Out(), "");

  cli_.system.InputIsTerminal = true;
  std::string answer = "n";
  cli_.system.ReadAnswer = [&answer] { return answer; };
  EXPECT_EQ(cli_.Run({"clean", "--categories", "AppPaths"}), 0);
  EXPECT_EQ(cli_.Err(), "Delete 1 registry entries? An undo file is written first. [y/N] ");
  EXPECT_NE(cli_.Out().find("Nothing was deleted.\n"), std::string::npos);
  EXPECT_EQ(Registry(), before);
  EXPECT_FALSE(cli_.drive.FileSystem().DirectoryExists(cli_.AppPath("restore")));

  answer = "y";
  EXPECT_EQ(cli_.Run({"clean", "--categories", "AppPaths"}), 0);
  EXPECT_EQ(DumpRegistryTree(cli_.store, TRootKey::LocalMachine,
                             "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Office-gone.exe"),
            "");
}

TEST_F(CliCommands, AnUndoFileThatCannotBeWrittenStopsTheCleanBeforeAnyDeletion) {
  // The program's folder is a file, so its restore folder cannot be made.
  cli_.drive.MakeFile("Blocked");
  cli_.system.ApplicationFolder = cli_.drive.Path("Blocked") + "\\";
  const std::string before = Registry();
  EXPECT_EQ(cli_.Run({"clean", "--categories", "all", "--yes"}), 3);
  EXPECT_EQ(cli_.Err(), "Can not save logfile.\ntidewell-cli: the undo file could not be written in " +
                            cli_.drive.Path("Blocked") + "\\restore; nothing was deleted\n");
  EXPECT_EQ(Registry(), before);
}

TEST_F(CliCommands, AnEntryTheUndoFileCannotHoldIsKeptAndNamed) {
  TRegistry registry(cli_.store);
  registry.SetRootKey(TRootKey::LocalMachine);
  ASSERT_TRUE(registry.OpenKey(std::string(kRunKey).substr(19), false));
  registry.WriteString("Two\nLines", cli_.drive.Path("gone\\two.exe"));
  registry.CloseKey();
  EXPECT_EQ(cli_.Run({"clean", "--categories", "StartupRun", "--yes"}), 0);
  EXPECT_NE(cli_.Out().find(std::string("Kept (it cannot be recorded in the undo file): ") +
                            kRunKey + "\\ value Two\nLines\n"),
            std::string::npos)
      << cli_.Out();
  ASSERT_TRUE(registry.OpenKey(std::string(kRunKey).substr(19), false));
  EXPECT_TRUE(registry.ValueExists("Two\nLines"));
  EXPECT_FALSE(registry.ValueExists("Gone \"q\"")) << "the other entry went";
}

TEST_F(CliCommands, CleanWithNothingListedDeletesNothing) {
  EXPECT_EQ(cli_.Run({"clean", "--categories", "Fonts", "--yes"}), 0);
  EXPECT_EQ(cli_.Out(), "No errors found\nNothing to delete.\n");
  EXPECT_FALSE(cli_.drive.FileSystem().DirectoryExists(cli_.AppPath("restore")));
}

TEST_F(CliCommands, UndoRestoreWritesOnlyTheChosenEntriesAndChecksThemFirst) {
  ASSERT_EQ(cli_.Run({"clean", "--categories", "all", "--yes"}), 0);
  const std::vector<TFileInfo> files =
      cli_.drive.FileSystem().ListFolder(cli_.AppPath("restore"));
  ASSERT_EQ(files.size(), 1u);
  const std::string name = files[0].Name;
  ASSERT_EQ(cli_.Run({"undo", "show", name}), 0);
  const std::string shown = cli_.Out();
  ASSERT_NE(shown.find("\n6. ["), std::string::npos) << shown;
  const std::string afterClean = Registry();

  EXPECT_EQ(cli_.Run({"undo", "restore", name, "--entry", "9"}), 2);
  EXPECT_EQ(cli_.Err(), "tidewell-cli: undo restore: " + cli_.AppPath("restore\\" + name) +
                            " has no entry 9 (it has 6)\n");
  EXPECT_EQ(Registry(), afterClean);

  EXPECT_EQ(cli_.Run({"undo", "restore", name, "--entry=1"}), 0);
  EXPECT_EQ(cli_.Out(), "Restored 1 of 1 entry from " + cli_.AppPath("restore\\" + name) + "\n");
  EXPECT_NE(DumpRegistryTree(cli_.store, TRootKey::LocalMachine,
                             "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run")
                .find("Gone"),
            std::string::npos);
  EXPECT_EQ(DumpRegistryTree(cli_.store, TRootKey::LocalMachine,
                             "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Office-gone.exe"),
            "");
}

TEST_F(CliCommands, KeysRecordedWithoutValuesAreEntriesOfTheirOwn) {
  cli_.drive.MakeFile("App\\restore\\20240102030405.reg",
                      "REGEDIT4\r\n\r\n"
                      "[HKEY_CURRENT_USER\\Software\\TwEmpty]\r\n\r\n"
                      "[HKEY_CURRENT_USER\\Software\\TwEmpty\\Sub]\r\n\r\n"
                      "[HKEY_CURRENT_USER\\Software\\TwValue]\r\n"
                      "\"A\"=\"b\"\r\n\r\n");
  EXPECT_EQ(cli_.Run({"undo", "show", "20240102030405.reg"}), 0);
  EXPECT_EQ(cli_.Out(),
            "1. [HKEY_CURRENT_USER\\Software\\TwEmpty]\n"
            "   (the key itself, without values)\n"
            "2. [HKEY_CURRENT_USER\\Software\\TwEmpty\\Sub]\n"
            "   (the key itself, without values)\n"
            "3. [HKEY_CURRENT_USER\\Software\\TwValue]\n"
            "   \"A\"=\"b\"\n");
  EXPECT_EQ(cli_.Run({"undo", "restore", "20240102030405.reg", "--entry", "3"}), 0);
  EXPECT_EQ(DumpRegistryTree(cli_.store, TRootKey::CurrentUser, "Software\\TwEmpty"), "")
      << "chosen entries bring back only themselves";

  EXPECT_EQ(cli_.Run({"undo", "restore", "20240102030405.reg"}), 0);
  EXPECT_EQ(cli_.Out(), "Restored 3 of 3 entries from " +
                            cli_.AppPath("restore\\20240102030405.reg") + "\n");
  EXPECT_EQ(DumpRegistryTree(cli_.store, TRootKey::CurrentUser, "Software\\TwEmpty"),
            "[HKEY_CURRENT_USER\\Software\\TwEmpty]\n"
            "[HKEY_CURRENT_USER\\Software\\TwEmpty\\Sub]\n");
  EXPECT_EQ(DumpRegistryTree(cli_.store, TRootKey::CurrentUser, "Software\\TwValue"),
            "[HKEY_CURRENT_USER\\Software\\TwValue]\n\"A\"=\"b\"\n");
}

TEST_F(CliCommands, MissingOrForeignUndoFilesAreReported) {
  EXPECT_EQ(cli_.Run({"undo", "list"}), 0);
  EXPECT_EQ(cli_.Out(), "No undo files in " + cli_.AppPath("restore") + "\n");
  EXPECT_EQ(cli_.Run({"undo", "show", "20000101000000.reg"}), 2);
  EXPECT_EQ(cli_.Err(), "tidewell-cli: no undo file " +
                            cli_.AppPath("restore\\20000101000000.reg") + " (see undo list)\n");
  cli_.drive.MakeFile("export.reg", std::string("\xFF\xFEW\0i\0", 6));
  const std::string before = Registry();
  EXPECT_EQ(cli_.Run({"undo", "restore", cli_.drive.Path("export.reg")}), 2);
  EXPECT_EQ(cli_.Err(), "tidewell-cli: " + cli_.drive.Path("export.reg") +
                            " is not an undo file (it is not 8-bit text)\n");
  EXPECT_EQ(Registry(), before);
  // list gives the same verdict as show and restore.
  cli_.drive.MakeFile("App\\restore\\20000101000000.reg", std::string("\xFF\xFEW\0i\0", 6));
  EXPECT_EQ(cli_.Run({"undo", "list"}), 0);
  EXPECT_EQ(cli_.Out(), "20000101000000.reg  unreadable\n");
}

TEST_F(CliCommands, BackupPrintsTheExportedFileAndAFailedExportIsAnError) {
  std::string commandLine;
  unsigned long exitCode = 0;
  cli_.processes.Play = [&](const std::string& line, const std::string&) {
    commandLine = line;
    const std::string target = line.substr(line.rfind(' ') + 1);
    // The second run may fall in the same second and find the file there.
    if (auto file = cli_.drive.FileSystem().CreateNewFile(target, false)) file->Write("REGEDIT4\r\n");
    return std::optional<unsigned long>(exitCode);
  };
  EXPECT_EQ(cli_.Run({"backup"}), 0) << cli_.Err();
  const std::string folder = cli_.AppPath("registrybackups\\");
  // The export gets the folder's short form (under Wine the test folder's
  // long names have one); the user gets the long one.
  const std::string shortFolder =
      cli_.drive.FileSystem().ShortPathName(cli_.AppPath("registrybackups")) + "\\";
  ASSERT_EQ(commandLine.rfind("regedit /e " + shortFolder, 0), 0u) << commandLine;
  const std::string name = commandLine.substr(commandLine.rfind('\\') + 1);
  EXPECT_EQ(cli_.Out(), "Backup file: " + folder + name + "\n");
  EXPECT_EQ(cli_.Err(), "");

  exitCode = 1;
  EXPECT_EQ(cli_.Run({"backup"}), 2);
  EXPECT_EQ(cli_.Out(), "");
  EXPECT_EQ(cli_.Err(), "tidewell-cli: Error backing up the registry!\n");
}

TEST(CliArguments, BadUsageGetsOneLineSayingWhatIsWrong) {
  testing::CliTestSystem cli;
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "no command given (scan, clean, undo or backup; see --help)"},
      {{"sacn"}, "unknown command \"sacn\" (scan, clean, undo or backup; see --help)"},
      {{"scan", "--categories", "Fonts,Colours"},
       "scan: unknown category \"Colours\" (known: SharedDlls, FileAssociations, "
       "StartupRun, AppPaths, Help, Fonts, Sounds, ClassesSection, FileList, all)"},
      {{"scan", "--categories", "cfFonts"},
       "scan: unknown category \"cfFonts\" (known: SharedDlls, FileAssociations, "
       "StartupRun, AppPaths, Help, Fonts, Sounds, ClassesSection, FileList, all)"},
      {{"clean", "--categories", "Fonts,"},
       "clean: empty category name in \"Fonts,\" (known: SharedDlls, FileAssociations, "
       "StartupRun, AppPaths, Help, Fonts, Sounds, ClassesSection, FileList, all)"},
      {{"scan", "--categories"}, "scan: --categories needs a value"},
      {{"scan", "--format", "xml"}, "scan: unknown format \"xml\" (text or json)"},
      {{"scan", "--yes"}, "scan: unknown option \"--yes\" (see scan --help)"},
      {{"clean", "--format", "json"}, "clean: unknown option \"--format\" (see clean --help)"},
      {{"scan", "extra"}, "scan: unexpected argument \"extra\" (see scan --help)"},
      {{"undo"}, "undo: say list, show FILE or restore FILE (see undo --help)"},
      {{"undo", "delete", "x"}, "undo: unknown action \"delete\" (list, show or restore)"},
      {{"undo", "show"}, "undo show: name the undo file (see undo list)"},
      {{"undo", "show", "a.reg", "b.reg"},
       "undo show: unexpected argument \"b.reg\" (see undo show --help)"},
      {{"undo", "restore", "a.reg", "--entry", "0"},
       "undo restore: --entry needs an entry number from 1, not \"0\""},
      {{"undo", "restore", "a.reg", "--entry", "two"},
       "undo restore: --entry needs an entry number from 1, not \"two\""},
      {{"undo", "list", "x"}, "undo list: unexpected argument \"x\" (see undo list --help)"},
      {{"help", "defrag"}, "no help on \"defrag\" (scan, clean, undo or backup)"},
      {{"backup", "now"}, "backup: unexpected argument \"now\" (see backup --help)"},
  };
  for (const auto& [arguments, message] : cases) {
    SCOPED_TRACE(arguments.empty() ? "(none)" : arguments[0]);
    EXPECT_EQ(cli.Run(arguments), 2);
    EXPECT_EQ(cli.Err(), "tidewell-cli: " + message + "\n");
    EXPECT_EQ(cli.Out(), "");
  }
  EXPECT_FALSE(cli.drive.FileSystem().DirectoryExists(cli.AppPath("restore")));
}

TEST(CliArguments, EveryCommandHasItsHelp) {
  testing::CliTestSystem cli;
  EXPECT_EQ(cli.Run({"--help"}), 0);
  EXPECT_EQ(cli.Out().rfind("Usage: tidewell-cli COMMAND [OPTIONS]\n", 0), 0u);
  EXPECT_EQ(cli.Run({"scan", "--format", "json", "--help"}), 0);
  EXPECT_EQ(cli.Out().rfind("Usage: tidewell-cli scan [--categories LIST] [--format text|json] [--explain]\n", 0), 0u);
  EXPECT_EQ(cli.Run({"clean", "-h"}), 0);
  EXPECT_EQ(cli.Out().rfind("Usage: tidewell-cli clean [--categories LIST] [--yes] [--explain]\n", 0), 0u);
  EXPECT_EQ(cli.Run({"undo", "restore", "--help"}), 0);
  EXPECT_EQ(cli.Out().rfind("Usage: tidewell-cli undo list\n", 0), 0u);
  EXPECT_EQ(cli.Run({"backup", "--help"}), 0);
  EXPECT_EQ(cli.Out().rfind("Usage: tidewell-cli backup\n", 0), 0u);
  EXPECT_EQ(cli.Run({"help", "undo"}), 0);
  EXPECT_EQ(cli.Err(), "");
}

}  // namespace
}  // namespace tidewell
