// The folder tidy-up routines on real folders: natively over the host's files,
// under Wine over the Windows ones.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/tools/DefragFakes.h"
#include "tools/RegistryDefrag.h"

namespace tidewell {
namespace {

using ::testing::ElementsAre;
using testing::DefragBed;

TEST(DefragFileToolsTest, DelTreeExRemovesNestedAndReadOnlyEntries) {
  DefragBed bed;
  TFileTools tools{bed.drive.FileSystem(), *bed.maintenance};
  bed.drive.MakeFile("Work\\a.txt");
  bed.drive.MakeFile("Work\\noext");
  bed.drive.MakeFile("Work\\Sub\\Deeper\\b.txt");
  bed.MakeReadOnly("Work\\Sub\\Deeper\\b.txt");
  bed.MakeReadOnly("Work\\Sub");

  std::vector<std::string> names;
  EXPECT_TRUE(BuildFileList(tools.Files, bed.drive.Path("Work\\*.*"), kAnyFileAttributes, names));
  std::sort(names.begin(), names.end());
  EXPECT_THAT(names, ElementsAre("Sub", "a.txt", "noext"));
  names.clear();
  EXPECT_TRUE(BuildFileList(tools.Files, bed.drive.Path("Work\\*.TXT"), 0, names));
  EXPECT_THAT(names, ElementsAre("a.txt")) << "folders only when asked for";
  EXPECT_FALSE(BuildFileList(tools.Files, bed.drive.Path("Missing\\*.*"), 0, names));

  const std::string readOnly = bed.drive.Path("Work\\Sub\\Deeper\\b.txt");
  ClearFileAttr(tools, readOnly);
  EXPECT_FALSE(*bed.maintenance->Attributes(readOnly) & fileattr::ReadOnly);
  bed.MakeReadOnly("Work\\Sub\\Deeper\\b.txt");

  EXPECT_TRUE(DelTreeEx(tools, bed.drive.Path("Work\\"), false));
  EXPECT_FALSE(tools.Files.DirectoryExists(bed.drive.Path("Work")));
  EXPECT_FALSE(DelTreeEx(tools, "", false));
  EXPECT_EQ(PathRemoveSeparator("C:\\Dir\\"), "C:\\Dir");
}

TEST(DefragFileToolsTest, AFileInUseStaysAndTheRestGoes) {
  DefragBed bed;
  TFileTools tools{bed.drive.FileSystem(), *bed.maintenance};
  bed.drive.MakeFile("Work\\Sub\\free.txt");
  bed.drive.MakeFile("Work\\other.txt");
  auto held = tools.Files.CreateNewFile(bed.drive.Path("Work\\Sub\\held.txt"), true);
  ASSERT_NE(held, nullptr);

  EXPECT_FALSE(DelTreeEx(tools, bed.drive.Path("Work"), false));
  EXPECT_TRUE(tools.Files.FileExists(bed.drive.Path("Work\\Sub\\held.txt")));
  EXPECT_FALSE(tools.Files.FileExists(bed.drive.Path("Work\\Sub\\free.txt")));
  EXPECT_FALSE(tools.Files.FileExists(bed.drive.Path("Work\\other.txt")));
  held.reset();
  EXPECT_TRUE(DelTreeEx(tools, bed.drive.Path("Work"), true));
}

}  // namespace
}  // namespace tidewell
