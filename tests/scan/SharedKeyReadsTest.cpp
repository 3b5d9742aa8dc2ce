#include "scan/SharedKeyReads.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

using TKept = TSharedKeyReads::TKept;

// A key is found however the registry would let its path be spelt, in its own
// view only, as what was first kept for it; the store empties with the scan.
TEST(SharedKeyReads, FindsAKeyByItsFoldedPathInItsViewOnlyAsWhatWasKept) {
  TSharedKeyReads reads;
  TLeafExamination exam;
  std::vector<std::string> names;
  const auto find = [&](std::uint32_t view, const std::string& path) {
    return reads.Find(view, path, exam, names);
  };
  EXPECT_EQ(find(0, "Software\\Classes\\A"), TKept::Nothing);

  reads.KeepLeaf(0, "Software\\Classes\\CLSID\\{A}\\InprocServer32",
                 {2, {{1, "", "C:\\gone.dll", {"file c:\\gone.dll: missing"}}}});
  reads.KeepLeaf(0, "Software\\Classes\\CLSID\\{B}\\InprocServer32", {3, {}});
  reads.KeepLeaf(0, "\\SOFTWARE\\classes\\clsid\\{b}\\INPROCSERVER32\\", {7, {}});
  reads.KeepLeaf(256, "Software\\Classes\\CLSID\\{C}\\InprocServer32", {1, {}});
  reads.KeepListing(0, "Software\\Classes\\CLSID\\{D}", {"ProgID", "InprocServer32"});
  reads.KeepListing(0, "Software\\Classes\\CLSID\\{E}", {});

  ASSERT_EQ(find(0, "\\software\\CLASSES\\Clsid\\{a}\\inprocserver32"), TKept::Leaf);
  EXPECT_EQ(exam.ValueCount, 2u);
  ASSERT_EQ(exam.Findings.size(), 1u);
  EXPECT_EQ(exam.Findings[0].ValueIndex, 1u);
  EXPECT_EQ(exam.Findings[0].Data, "C:\\gone.dll");
  EXPECT_EQ(exam.Findings[0].Tested,
            std::vector<std::string>{"file c:\\gone.dll: missing"});

  ASSERT_EQ(find(0, "Software\\Classes\\CLSID\\{B}\\InprocServer32"), TKept::Leaf);
  EXPECT_EQ(exam.ValueCount, 3u);
  EXPECT_TRUE(exam.Findings.empty());

  ASSERT_EQ(find(0, "software\\classes\\clsid\\{d}\\"), TKept::Listing);
  EXPECT_EQ(names, (std::vector<std::string>{"ProgID", "InprocServer32"}));

  EXPECT_EQ(find(0, "Software\\Classes\\CLSID\\{C}\\InprocServer32"), TKept::Nothing);
  EXPECT_EQ(find(256, "Software\\Classes\\CLSID\\{C}\\InprocServer32"), TKept::Leaf);
  EXPECT_EQ(find(0, "Software\\Classes\\CLSID\\{A}\\InprocServer"), TKept::Nothing);
  EXPECT_EQ(find(0, "Software\\Classes\\CLSID\\{A}"), TKept::Nothing);
  EXPECT_EQ(find(0, "Software\\Classes\\CLSID\\{E}"), TKept::Nothing);

  reads.Clear();
  EXPECT_TRUE(reads.Empty());
  EXPECT_EQ(find(0, "Software\\Classes\\CLSID\\{B}\\InprocServer32"), TKept::Nothing);
}

}  // namespace
}  // namespace tidewell
