#include "scan/ExcludedKeys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tidewell {
namespace {

const std::string kKey = "HKEY_LOCAL_MACHINE\\Software\\Foo\\Bar";

TEST(ExcludedKeysTest, WholeKeyNameMatchesWhateverTheLetterCase) {
  EXPECT_TRUE(IsExcludedKey({"hkey_local_machine\\software\\foo\\bar"}, kKey));
  EXPECT_TRUE(IsExcludedKey({kKey}, kKey));
  // Letter case beyond ASCII is ignored the way the registry ignores it.
  EXPECT_TRUE(IsExcludedKey({"hkey_current_user\\software\\\xC3\xA4pfel"},
                            "HKEY_CURRENT_USER\\Software\\\xC3\x84pfel"));
}

TEST(ExcludedKeysTest, PartOfTheKeyNameMatchesOnlyInTheSameLetterCase) {
  EXPECT_TRUE(IsExcludedKey({"Software\\Foo"}, kKey));
  EXPECT_TRUE(IsExcludedKey({"Bar"}, kKey));
  EXPECT_FALSE(IsExcludedKey({"software\\foo"}, kKey));
  EXPECT_FALSE(IsExcludedKey({"hkey_local_machine\\software\\foo"}, kKey));
  // A longer key name is not a part of the reported one.
  EXPECT_FALSE(IsExcludedKey({kKey + "\\Baz"}, kKey));
}

TEST(ExcludedKeysTest, LinesWithTheOldDoubledSeparatorStillMatch) {
  const std::string dll = "HKEY_CLASSES_ROOT\\.dll";
  EXPECT_TRUE(IsExcludedKey({"HKEY_CLASSES_ROOT\\\\.dll"}, dll));
  EXPECT_TRUE(IsExcludedKey({"hkey_classes_root\\\\.DLL"}, dll));
  EXPECT_TRUE(IsExcludedKey({"ROOT\\\\.dll"}, dll));
  EXPECT_TRUE(IsExcludedKey({dll}, dll));
  // Other keys stay visible.
  EXPECT_FALSE(IsExcludedKey({"HKEY_CLASSES_ROOT\\\\.dll"}, "HKEY_CLASSES_ROOT\\.exe"));
  EXPECT_FALSE(IsExcludedKey({"HKEY_CLASSES_ROOT\\\\.dll"}, "HKEY_CLASSES_ROOT\\.dl"));
}

TEST(ExcludedKeysTest, EmptyEntriesAndEmptyListsHideNothing) {
  EXPECT_FALSE(IsExcludedKey({}, kKey));
  EXPECT_FALSE(IsExcludedKey({""}, kKey));
  EXPECT_FALSE(IsExcludedKey({"", "Other"}, kKey));
  EXPECT_TRUE(IsExcludedKey({"", "Other", "Foo"}, kKey));
}

}  // namespace
}  // namespace tidewell
