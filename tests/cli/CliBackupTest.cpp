// tidewell-cli.exe backup run as a process under Wine, from a program folder
// whose path holds blanks: the system registry editor must write a complete
// export, named by the time stamp, into registrybackups, the program must
// name that file, and importing it must give the registry back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/TextEncoding.h"
#include "platform/win/WinProcessRunner.h"
#include "tests/cli/CliProcess.h"
#include "tests/cli/RegistryEntries.h"
#include "tests/platform/TestDrive.h"
#include "tests/support/RegistryFixture.h"
#include "tests/support/TestRegistry.h"

namespace tidewell {
namespace {

using Lines = std::vector<std::string>;

const char* const kMarker = R"fixture(
  [HKEY_CURRENT_USER\Software\TwBackup\Inner]
  "Marker"="made before the backup"
  "Number"=dword:0000002a
)fixture";

// Wine keeps a few multi-strings without their closing empty strings; the
// editor writes them as they are and its import closes them. Compared without
// the closing characters, they are the same strings.
Lines WithoutClosingNulls(Lines entries) {
  for (std::string& entry : entries) {
    if (entry.find("\"=hex(7):") == std::string::npos) continue;
    // One UTF-16 character is ",lo,hi" at the end.
    while (entry.size() >= 6 && entry.compare(entry.size() - 6, 6, ",00,00") == 0) {
      entry.resize(entry.size() - 6);
    }
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

Lines Minus(const Lines& a, const Lines& b) {
  Lines rest;
  std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(rest));
  return rest;
}

class CliBackup : public ::testing::Test {
 protected:
  void SetUp() override {
    drive_.MakeFolder("Program Files\\Tide well");
    appFolder_ = drive_.Path("Program Files\\Tide well") + "\\";
    testing::InstallCli(appFolder_);
  }
  void TearDown() override {
    LoadRegistryFixture(*store_, "[-HKEY_CURRENT_USER\\Software\\TwBackup]\n");
  }

  testing::TestDrive drive_;
  std::unique_ptr<RegistryStore> store_ = testing::MakeTestRegistryStore();
  std::string appFolder_;
};

TEST_F(CliBackup, ExportsTheWholeRegistryIntoTheTimeStampedFileThatImportsBack) {
  LoadRegistryFixture(*store_, kMarker);
  const Lines before = WithoutClosingNulls(testing::RegistryEntries(*store_));

  const testing::CliRun run = testing::RunInstalledCli(appFolder_, {"backup"});
  ASSERT_EQ(run.exitCode, 0u) << run.out << run.err;
  EXPECT_EQ(run.err, "");

  // The only file in the new folder, named by the time stamp and printed.
  const std::string folder = appFolder_ + "registrybackups\\";
  const std::vector<TFileInfo> files = drive_.FileSystem().ListFolder(folder);
  ASSERT_EQ(files.size(), 1u);
  const std::string& name = files[0].Name;
  EXPECT_EQ(name.size(), 18u) << name;
  EXPECT_TRUE(std::all_of(name.begin(), name.begin() + 14, [](char c) { return c >= '0' && c <= '9'; }))
      << name;
  EXPECT_EQ(name.substr(14), ".reg");
  EXPECT_EQ(run.out, "Backup file: " + folder + name + "\n");

  // Complete: the editor's header, both machine and user keys with the marker,
  // and a last line that was finished.
  std::string bytes;
  ASSERT_TRUE(drive_.FileSystem().ReadWholeFile(folder + name, bytes));
  ASSERT_GE(bytes.size(), 2u);
  ASSERT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  std::u16string wide((bytes.size() - 2) / 2, u'\0');
  for (std::size_t i = 0; i < wide.size(); ++i) {
    wide[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                    static_cast<unsigned char>(bytes[3 + 2 * i]) << 8);
  }
  const std::string text = Utf16ToUtf8(wide);
  std::printf("export: %zu bytes\n", bytes.size());
  EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\r\n", 0), 0u);
  EXPECT_NE(text.find("\r\n[HKEY_LOCAL_MACHINE\\System\\"), std::string::npos);
  EXPECT_NE(text.find("\\Software\\TwBackup\\Inner]\r\n\"Marker\"=\"made before the backup\"\r\n"
                      "\"Number\"=dword:0000002a\r\n"),
            std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");

  // Imported back over a registry that lost the marker: the registry as it
  // was at the backup.
  LoadRegistryFixture(*store_, "[-HKEY_CURRENT_USER\\Software\\TwBackup]\n");
  WinProcessRunner processes;
  const std::optional<unsigned long> imported =
      processes.RunAndWait("regedit /s \"" + folder + name + "\"", folder);
  ASSERT_TRUE(imported.has_value());
  const Lines after = WithoutClosingNulls(testing::RegistryEntries(*store_));
  EXPECT_EQ(Minus(before, after), Lines{}) << "missing after the import";
  EXPECT_EQ(Minus(after, before), Lines{}) << "extra after the import";
}

}  // namespace
}  // namespace tidewell
