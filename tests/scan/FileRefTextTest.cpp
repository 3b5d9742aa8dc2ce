// The text-only rules of file references.
#include <gtest/gtest.h>

#include "scan/FileRefText.h"
#include "scan/FolderSet.h"

namespace tidewell {
namespace {

TEST(FileRefTextTest, StripTypeLibIndexCutsAResourceNumber) {
  EXPECT_EQ(StripTypeLibIndex("C:\\Lib\\x.dll\\3"), "C:\\Lib\\x.dll");
  EXPECT_EQ(StripTypeLibIndex("C:\\Lib\\X.OLB\\1"), "C:\\Lib\\X.OLB");
  EXPECT_EQ(StripTypeLibIndex("C:\\Lib\\x.tlb"), "C:\\Lib\\x.tlb");
  EXPECT_EQ(StripTypeLibIndex("C:\\v1.0\\x\\2"), "C:\\v1.0\\x\\2");
  EXPECT_EQ(StripTypeLibIndex("x.tlb"), "x.tlb");
  EXPECT_EQ(StripTypeLibIndex(""), "");
}

TEST(FileRefTextTest, LooksLikeLocalPathWantsOneDrivePathOnCToZ) {
  EXPECT_TRUE(LooksLikeLocalPath("C:\\x.exe"));
  EXPECT_TRUE(LooksLikeLocalPath("run \"z:\\x.exe\" /s"));
  EXPECT_FALSE(LooksLikeLocalPath("A:\\setup.exe"));
  EXPECT_FALSE(LooksLikeLocalPath("b:\\setup.exe"));
  EXPECT_FALSE(LooksLikeLocalPath("C:\\a.exe D:\\b.exe"));
  EXPECT_FALSE(LooksLikeLocalPath("\\\\server\\share\\x.exe"));
  EXPECT_FALSE(LooksLikeLocalPath(":\\x"));
  EXPECT_FALSE(LooksLikeLocalPath("1:\\x"));
  EXPECT_FALSE(LooksLikeLocalPath("C:/x.exe"));
  EXPECT_FALSE(LooksLikeLocalPath(""));
}

TEST(FileRefTextTest, TrimAndLowerFollowTheRegistryTextRules) {
  EXPECT_EQ(TrimText("\t x y \r\n"), "x y");
  EXPECT_EQ(LowerAscii("ABC\xC3\x84z"), "abc\xC3\x84z");
  EXPECT_EQ(ReplaceIgnoringCase("%A%%a%", "%a%", "[x]"), "[x][x]");
  EXPECT_EQ(ReplaceIgnoringCase("%A%%a%", "%a%", "%a%", true), "%a%%a%");
  EXPECT_EQ(ReplaceIgnoringCase("x%%SystemRoot%", "%systemroot%", "C:\\W"), "x%C:\\W");
  EXPECT_EQ(ReplaceIgnoringCase("%system", "%systemroot%", "C:"), "%system");
  EXPECT_EQ(ReplaceIgnoringCase("", "%a%", "x"), "");
  EXPECT_EQ(FolderPart("c:\\dir\\f.txt"), "c:\\dir\\");
  EXPECT_EQ(FolderPart("c:f.txt"), "c:");
  EXPECT_FALSE(HasFolderPart("f.txt"));
}

TEST(FolderSetTest, PathIsSplitAtEverySemicolon) {
  EXPECT_EQ(SplitFolderList("a;;b"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(SplitFolderList(";a;"), (std::vector<std::string>{"", "a"}));
  EXPECT_TRUE(SplitFolderList("").empty());
}

}  // namespace
}  // namespace tidewell
