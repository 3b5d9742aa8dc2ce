// ExcludedKeys.txt: its lines as entries, written back with CR LF, through
// the file system in the ANSI code page, and the entries hiding what the rule
// says.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/ExcludedKeysFile.h"
#include "platform/AnsiCodePage.h"
#include "scan/ExcludedKeys.h"
#include "tests/platform/TestDrive.h"

namespace tidewell {
namespace {

using Entries = std::vector<std::string>;

TEST(ExcludedKeysText, EveryKindOfLineBreakEndsAnEntry) {
  EXPECT_EQ(SplitExcludedKeys("a\r\nb\rc\nd"), (Entries{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitExcludedKeys("a\r\n"), (Entries{"a"}));
  EXPECT_EQ(SplitExcludedKeys(""), Entries{});
  // An empty line between two breaks is an entry; spaces belong to entries.
  EXPECT_EQ(SplitExcludedKeys("a\r\n\r\n Office \n\n"), (Entries{"a", "", " Office ", ""}));
  EXPECT_EQ(SplitExcludedKeys("\r\r\n"), (Entries{"", ""}));
}

TEST(ExcludedKeysText, WritingPutsCrLfAfterEveryEntry) {
  EXPECT_EQ(JoinExcludedKeys({}), "");
  EXPECT_EQ(JoinExcludedKeys({"Office", "", "HKEY_CURRENT_USER\\Software\\X"}),
            "Office\r\n\r\nHKEY_CURRENT_USER\\Software\\X\r\n");
  const Entries entries = {"b", "a", "b", " "};
  EXPECT_EQ(SplitExcludedKeys(JoinExcludedKeys(entries)), entries)
      << "order and duplicates are kept";
}

TEST(ExcludedKeysText, EntriesHideWhatTheRuleSays) {
  const Entries entries = SplitExcludedKeys(
      "Office\r\n"
      "hkey_local_machine\\software\\microsoft\\windows\\currentversion\\app paths\\old.exe\r\n"
      "Trail \r\n"
      "\r\n");
  const std::string appPath =
      "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\old.exe";
  EXPECT_TRUE(IsExcludedKey(entries, "HKEY_CURRENT_USER\\Software\\Office\\11.0"));
  EXPECT_FALSE(IsExcludedKey(entries, "HKEY_CURRENT_USER\\Software\\office\\11.0"));
  EXPECT_TRUE(IsExcludedKey(entries, appPath));
  EXPECT_FALSE(IsExcludedKey(entries, appPath + "\\Sub"));
  EXPECT_TRUE(IsExcludedKey(entries, "HKEY_CURRENT_USER\\Trail x"));
  EXPECT_FALSE(IsExcludedKey(entries, "HKEY_CURRENT_USER\\Trail"));
  EXPECT_FALSE(IsExcludedKey(entries, "HKEY_CURRENT_USER\\Software\\Other"))
      << "the empty entry hides nothing";
}

class ExcludedKeysOnDisk : public ::testing::Test {
 protected:
  std::string Path() const { return ExcludedKeysPath(drive_.Root() + "\\"); }
  testing::TestDrive drive_;
  Windows1252CodePage codePage_;
  Entries entries_{"stale"};
  std::string error_;
};

TEST_F(ExcludedKeysOnDisk, AMissingFileIsTheEmptyList) {
  EXPECT_EQ(Path(), drive_.Path("ExcludedKeys.txt"));
  EXPECT_TRUE(LoadExcludedKeys(drive_.FileSystem(), codePage_, Path(), entries_, error_));
  EXPECT_TRUE(entries_.empty());
}

TEST_F(ExcludedKeysOnDisk, TheFileIsAnsiTextReadAndWrittenWhole) {
  drive_.MakeFile("ExcludedKeys.txt", "Caf\xE9\r\nlong old line that goes away\r\n");
  ASSERT_TRUE(LoadExcludedKeys(drive_.FileSystem(), codePage_, Path(), entries_, error_));
  EXPECT_EQ(entries_, (Entries{"Caf\xC3\xA9", "long old line that goes away"}));

  ASSERT_TRUE(SaveExcludedKeys(drive_.FileSystem(), codePage_, Path(),
                               {"Caf\xC3\xA9", "New"}, error_))
      << error_;
  std::string bytes;
  ASSERT_TRUE(drive_.FileSystem().ReadWholeFile(Path(), bytes));
  EXPECT_EQ(bytes, "Caf\xE9\r\nNew\r\n");

  ASSERT_TRUE(SaveExcludedKeys(drive_.FileSystem(), codePage_, Path(), {}, error_));
  ASSERT_TRUE(drive_.FileSystem().ReadWholeFile(Path(), bytes));
  EXPECT_EQ(bytes, "");
}

TEST_F(ExcludedKeysOnDisk, AFailedSaveLeavesTheOldListAsItWas) {
  drive_.MakeFile("ExcludedKeys.txt", "Old\r\n");
  drive_.MakeFolder("ExcludedKeys.txt.new");  // the new text has nowhere to go
  EXPECT_FALSE(SaveExcludedKeys(drive_.FileSystem(), codePage_, Path(), {"New"}, error_));
  EXPECT_EQ(error_, Path() + " cannot be written");
  std::string bytes;
  ASSERT_TRUE(drive_.FileSystem().ReadWholeFile(Path(), bytes));
  EXPECT_EQ(bytes, "Old\r\n");
}

TEST_F(ExcludedKeysOnDisk, AUnicodeSavedListIsRefusedNotSilentlyIgnored) {
  drive_.MakeFile("ExcludedKeys.txt", std::string("\xFF\xFEO\0f\0", 6));
  EXPECT_FALSE(LoadExcludedKeys(drive_.FileSystem(), codePage_, Path(), entries_, error_));
  EXPECT_EQ(error_, Path() + " is not 8-bit text (saved as Unicode?); save it as ANSI text");
}

TEST_F(ExcludedKeysOnDisk, AnEntryTheCodePageCannotHoldIsNotWritten) {
  EXPECT_FALSE(SaveExcludedKeys(drive_.FileSystem(), codePage_, Path(),
                                {"\xE4\xB8\xAD"}, error_));
  EXPECT_FALSE(drive_.FileSystem().FileExists(Path()));
}

}  // namespace
}  // namespace tidewell
