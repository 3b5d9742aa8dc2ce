// tidewell-cli.exe itself, run as a separate process over the throwaway
// prefix's registry, which Wine fills with thousands of entries nobody here
// wrote (and some problems of its own, the pristine baseline). Broken entries
// are planted beside sound ones; the program must list exactly those beyond
// the baseline, hide what ExcludedKeys.txt says, delete exactly what it lists
// with an undo file first, and restore the registry from that file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/TextEncoding.h"
#include "tests/cli/CliProcess.h"
#include "tests/cli/JsonReader.h"
#include "tests/cli/RegistryEntries.h"
#include "tests/platform/TestDrive.h"
#include "tests/support/RegistryFixture.h"
#include "tests/support/TestRegistry.h"
#include "undo/RegEditNotation.h"
#include "tests/support/ReplaceAll.h"

namespace tidewell {
namespace {

using Lines = std::vector<std::string>;
using testing::JsonValue;

// "$S" is the test's own name, "$D" its folder (escaped for the fixture).
const char* const kPlanted = R"fixture(
  [HKEY_CLASSES_ROOT\CLSID\{$S-0001}\InprocServer32]
  @="$D\\gone\\server.dll"
  [HKEY_CLASSES_ROOT\CLSID\{$S-0002}\InprocServer32]
  @="$D\\ok\\server.dll"
  [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Run]
  "$S Gone"="\"$D\\gone\\start.exe\" /tray"
  "$S Ok"="\"$D\\ok\\start.exe\" /tray"
  [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\$S-gone.exe]
  @="$D\\gone\\app.exe"
  "Path"="$D"
  [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\$S-ok.exe]
  @="$D\\ok\\app.exe"
  [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\$S-gone]
  "DisplayName"="Gone"
  "UninstallString"="\"$D\\gone\\uninstall.exe\" /S"
  [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\$S-ok]
  "DisplayName"="Ok"
  "UninstallString"="\"$D\\ok\\uninstall.exe\" /S"
  [HKEY_CURRENT_USER\Software\$S]
  "Document"="$D\\gone\\document.txt"
  "Kept"="$D\\ok\\document.txt"
)fixture";

const char* const kUnplanted = R"fixture(
  [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Run]
  "$S Gone"=-
  "$S Ok"=-
  [-HKEY_CLASSES_ROOT\CLSID\{$S-0001}]
  [-HKEY_CLASSES_ROOT\CLSID\{$S-0002}]
  [-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\$S-gone.exe]
  [-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\$S-ok.exe]
  [-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\$S-gone]
  [-HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\$S-ok]
  [-HKEY_CURRENT_USER\Software\$S]
)fixture";

// The problems the planted entries add, in the order found: key text, value
// name, value data, description (upper-cased when compared).
const Lines kExpected = {
    "HKEY_CLASSES_ROOT\\CLSID\\{$S-0001}\\InprocServer32 |  | $D\\gone\\server.dll | InProcServer32 file not found",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\ | $S Gone | \"$D\\gone\\start.exe\" /tray | Startup file does not exist",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\$S-gone.exe |  | $D\\gone\\app.exe | Application does not exists",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$S-gone |  | \"$D\\gone\\uninstall.exe\" /S | Application does not exists",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{$S-0001}\\InprocServer32 |  | $D\\gone\\server.dll | File not found",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\$S-gone.exe |  | $D\\gone\\app.exe | File not found",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run | $S Gone | \"$D\\gone\\start.exe\" /tray | File not found",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$S-gone | UninstallString | \"$D\\gone\\uninstall.exe\" /S | File not found",
    "HKEY_CURRENT_USER\\Software\\$S | Document | $D\\gone\\document.txt | File not found",
};

std::string ProblemLine(const JsonValue& problem) {
  return problem["keyText"].text + " | " + problem["valueName"].text + " | " +
         problem["valueData"].text + " | " + problem["description"].text;
}

// A registry path as the entries compare it: upper case, no doubled, leading
// or trailing backslashes, no 32-bit view segment (Wine shares those keys
// with the 64-bit view, so deleting one removes both).
std::string NormalKey(const std::string& path) {
  std::string key = UpcaseUtf8(ReplaceAll(path, "\\WOW6432NODE", ""));
  key = ReplaceAll(ReplaceAll(key, "\\WOW6432NODE", ""), "\\\\", "\\");
  while (!key.empty() && key.back() == '\\') key.pop_back();
  return key;
}

// Where a listed problem's fixing pass may change the registry: the keys it
// names (a class key lives below both roots' Software\Classes), and the value
// name, empty for the whole key.
struct Target {
  std::vector<std::string> keys;
  std::string value;
};

Target TargetOf(const JsonValue& problem) {
  Target target;
  target.value = problem["valueName"].text;
  const std::string path = problem["keyPath"].text;
  if (problem["root"].text == "HKEY_CLASSES_ROOT") {
    for (const char* root : {"HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES\\",
                             "HKEY_CURRENT_USER\\SOFTWARE\\CLASSES\\"}) {
      target.keys.push_back(NormalKey(root + path));
    }
  } else {
    target.keys.push_back(NormalKey(problem["root"].text + "\\" + path));
  }
  return target;
}

// Whether an entry of RegistryEntries ("[KEY]" or "[KEY]|value line") lies
// within what one of the problems names.
bool Covered(const std::string& entry, const std::vector<Target>& targets) {
  const std::size_t bar = entry.find("]|");
  const std::string key = NormalKey(entry.substr(1, (bar == std::string::npos ? entry.size() - 1 : bar) - 1));
  const std::string line = bar == std::string::npos ? "" : entry.substr(bar + 2);
  for (const Target& target : targets) {
    for (const std::string& targetKey : target.keys) {
      if (target.value.empty()) {
        if (key == targetKey || key.rfind(targetKey + "\\", 0) == 0) return true;
      } else if (key == targetKey &&
                 line.rfind("\"" + EscapeRegEditText(target.value) + "\"=", 0) == 0) {
        return true;
      }
    }
  }
  return false;
}

Lines Minus(const Lines& a, const Lines& b) {
  Lines rest;
  std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(rest));
  return rest;
}

class CliProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    drive_.MakeFolder("App");
    drive_.MakeFolder("gone");
    for (const char* name : {"server.dll", "start.exe", "app.exe", "uninstall.exe",
                             "document.txt"}) {
      drive_.MakeFile(std::string("ok\\") + name);
    }
    appFolder_ = drive_.Path("App") + "\\";
    testing::InstallCli(appFolder_);
  }
  void TearDown() override { Load(kUnplanted); }

  std::string Expand(const std::string& text, bool escaped) const {
    return ReplaceAll(ReplaceAll(text, "$S", "TwCli"), "$D",
                      escaped ? EscapeRegEditText(drive_.Root()) : drive_.Root());
  }
  void Load(const char* fixture) { LoadRegistryFixture(*store_, Expand(fixture, true)); }
  testing::CliRun Run(const std::vector<std::string>& arguments) {
    return testing::RunInstalledCli(appFolder_, arguments);
  }
  JsonValue Scan(unsigned long expectedExit) {
    const testing::CliRun run = Run({"scan", "--format", "json"});
    EXPECT_EQ(run.exitCode, expectedExit) << run.err;
    EXPECT_EQ(run.err, "");
    return testing::ParseJson(run.out);
  }

  testing::TestDrive drive_;
  std::unique_ptr<RegistryStore> store_ = testing::MakeTestRegistryStore();
  std::string appFolder_;
};

TEST_F(CliProgram, ScansHidesCleansAndRestoresThePrefixRegistry) {
  // The pristine prefix: whatever Wine's own entries give, listed in full.
  const JsonValue pristine = Scan(1);
  std::multiset<std::string> baseline;
  for (const JsonValue& problem : pristine["problems"].items) baseline.insert(ProblemLine(problem));
  std::printf("pristine prefix: %s\n", pristine["status"].text.c_str());
  EXPECT_EQ(pristine["total"].number, static_cast<double>(baseline.size()));

  // Planted: exactly the planted problems are added.
  Load(kPlanted);
  const JsonValue planted = Scan(1);
  Lines added;
  std::multiset<std::string> unmatched = baseline;
  for (const JsonValue& problem : planted["problems"].items) {
    const auto found = unmatched.find(ProblemLine(problem));
    if (found != unmatched.end()) {
      unmatched.erase(found);
    } else {
      added.push_back(UpcaseUtf8(ProblemLine(problem)));
    }
  }
  Lines expected;
  for (const std::string& line : kExpected) expected.push_back(UpcaseUtf8(Expand(line, false)));
  EXPECT_EQ(added, expected);
  EXPECT_TRUE(unmatched.empty()) << "a problem of the pristine prefix went missing";
  EXPECT_EQ(planted["status"].text,
            std::to_string(planted["problems"].items.size()) + " registry error(s) found");

  // ExcludedKeys.txt: a fragment hides with its letter case only; a whole key
  // text hides that key in any letter case, and nothing below or beside it.
  const auto listedOf = [](const JsonValue& document) {
    Lines lines;
    for (const JsonValue& problem : document["problems"].items) lines.push_back(ProblemLine(problem));
    return lines;
  };
  const Lines all = listedOf(planted);
  drive_.MakeFile("App\\ExcludedKeys.txt", "twcli\r\n");
  EXPECT_EQ(listedOf(Scan(1)), all);
  drive_.MakeFile("App\\ExcludedKeys.txt",
                  "TwCli\r\nhkey_local_machine\\software\\microsoft\\windows\\currentversion\\run\\\r\n");
  const JsonValue excluded = Scan(1);
  Lines hiddenExpected;
  for (const std::string& line : all) {
    const std::string keyText = line.substr(0, line.find(" | "));
    if (keyText.find("TwCli") != std::string::npos ||
        NamesEqual(keyText, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\")) {
      continue;
    }
    hiddenExpected.push_back(line);
  }
  EXPECT_EQ(listedOf(excluded), hiddenExpected);
  EXPECT_EQ(excluded["total"].number, static_cast<double>(all.size()));
  EXPECT_EQ(excluded["excluded"].number, static_cast<double>(all.size() - hiddenExpected.size()));
  // The Run value is still listed by the file list, whose key text has no
  // trailing backslash.
  EXPECT_EQ(std::count_if(hiddenExpected.begin(), hiddenExpected.end(),
                          [](const std::string& line) { return line.find("TwCli Gone") != std::string::npos; }),
            1);
  std::filesystem::remove(drive_.HostPath("App\\ExcludedKeys.txt"));

  // clean --yes: an undo file, then exactly the listed entries go.
  const Lines before = testing::RegistryEntries(*store_);
  const testing::CliRun clean = Run({"clean", "--yes"});
  ASSERT_EQ(clean.exitCode, 0u) << clean.out << clean.err;
  EXPECT_EQ(clean.err, "");
  const std::vector<TFileInfo> undoFiles = drive_.FileSystem().ListFolder(appFolder_ + "restore");
  ASSERT_EQ(undoFiles.size(), 1u);
  const std::string undoPath = appFolder_ + "restore\\" + undoFiles[0].Name;
  EXPECT_NE(clean.out.find(planted["status"].text + "\nUndo file: " + undoPath + "\n"),
            std::string::npos)
      << clean.out;
  // A problem found twice (by its check and by the file list) is fixed once.
  EXPECT_NE(clean.out.find(" registry error(s) checked ("), std::string::npos)
      << clean.out;

  const Lines after = testing::RegistryEntries(*store_);
  std::vector<Target> targets;
  for (const JsonValue& problem : planted["problems"].items) targets.push_back(TargetOf(problem));
  const Lines removed = Minus(before, after);
  const Lines appeared = Minus(after, before);
  EXPECT_FALSE(removed.empty());
  for (const std::string& entry : removed) {
    EXPECT_TRUE(Covered(entry, targets)) << "deleted but not listed: " << entry;
  }
  for (const std::string& entry : appeared) {
    EXPECT_TRUE(Covered(entry, targets)) << "changed but not listed: " << entry;
  }
  const auto gone = [&after, this](const std::string& key, const std::string& value = "") {
    const std::string entry = UpcaseUtf8(Expand(key, false)) +
                              (value.empty() ? "" : "|" + Expand(value, true));
    return !std::binary_search(after.begin(), after.end(), entry);
  };
  EXPECT_TRUE(gone("[HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES\\CLSID\\{$S-0001}\\INPROCSERVER32]"));
  EXPECT_TRUE(gone("[HKEY_LOCAL_MACHINE\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\APP PATHS\\$S-GONE.EXE]"));
  EXPECT_TRUE(gone("[HKEY_CURRENT_USER\\SOFTWARE\\$S]", "\"Document\"=\"$D\\\\gone\\\\document.txt\""));
  EXPECT_FALSE(gone("[HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES\\CLSID\\{$S-0002}\\INPROCSERVER32]"));
  EXPECT_EQ(Scan(0)["total"].number, 0) << "a second scan finds nothing left";

  // undo restore: the registry as it was before the cleanup.
  const testing::CliRun list = Run({"undo", "list"});
  EXPECT_EQ(list.exitCode, 0u);
  EXPECT_EQ(list.out.rfind(undoFiles[0].Name + "  ", 0), 0u) << list.out;
  const testing::CliRun restore = Run({"undo", "restore", undoFiles[0].Name});
  EXPECT_EQ(restore.exitCode, 0u) << restore.out << restore.err;
  const Lines restored = testing::RegistryEntries(*store_);
  EXPECT_EQ(Minus(before, restored), Lines{}) << "missing after restore";
  EXPECT_EQ(Minus(restored, before), Lines{}) << "extra after restore";
}

TEST_F(CliProgram, BadInputIsOneLineAndAnUnwritableFolderStopsTheClean) {
  testing::CliRun run = Run({"scan", "--categories", "Colours"});
  EXPECT_EQ(run.exitCode, 2u);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.rfind("tidewell-cli: scan: unknown category \"Colours\"", 0), 0u) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);

  run = Run({"clean"});
  EXPECT_EQ(run.exitCode, 2u) << "standard input is no terminal";

  run = Run({"undo", "show", "nothing.reg"});
  EXPECT_EQ(run.exitCode, 2u);
  EXPECT_EQ(run.err, "tidewell-cli: no undo file " + appFolder_ +
                         "restore\\nothing.reg (see undo list)\n");

  // A file where the restore folder must go: the undo step fails first.
  Load(kPlanted);
  drive_.MakeFile("App\\restore", "not a folder");
  const Lines before = testing::RegistryEntries(*store_);
  run = Run({"clean", "--categories", "AppPaths", "--yes"});
  EXPECT_EQ(run.exitCode, 3u) << run.out << run.err;
  EXPECT_EQ(run.err.rfind("Can not save logfile.\n", 0), 0u) << run.err;
  EXPECT_EQ(testing::RegistryEntries(*store_), before);
}

}  // namespace
}  // namespace tidewell
