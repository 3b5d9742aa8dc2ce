#include "scan/SharedKeyReads.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

// A key is found however the registry would let its path be spelt, in its own
// view only, as what was first kept for it; the store empties with the scan.
TEST(SharedKeyReads, FindsAKeyByItsFoldedPathInItsViewOnlyAsTheKindKept) {
  TSharedKeyReads reads;
  TLeafExamination exam;
  EXPECT_FALSE(reads.FindLeaf(0, "Software\\Classes\\A", exam));

  reads.KeepLeaf(0, "Software\\Classes\\CLSID\\{A}\\InprocServer32",
             {2, {{1, "", "C:\\gone.dll", {"file c:\\gone.dll: missing"}}}});
  reads.KeepLeaf(0, "Software\\Classes\\CLSID\\{B}\\InprocServer32", {3, {}});
  reads.KeepLeaf(0, "\\SOFTWARE\\classes\\clsid\\{b}\\INPROCSERVER32\\", {7, {}});
  reads.KeepLeaf(256, "Software\\Classes\\CLSID\\{C}\\InprocServer32", {1, {}});

  ASSERT_TRUE(reads.FindLeaf(0, "\\software\\CLASSES\\Clsid\\{a}\\inprocserver32", exam));
  EXPECT_EQ(exam.ValueCount, 2u);
  ASSERT_EQ(exam.Findings.size(), 1u);
  EXPECT_EQ(exam.Findings[0].ValueIndex, 1u);
  EXPECT_EQ(exam.Findings[0].Data, "C:\\gone.dll");
  EXPECT_EQ(exam.Findings[0].Tested,
            std::vector<std::string>{"file c:\\gone.dll: missing"});

  ASSERT_TRUE(reads.FindLeaf(0, "Software\\Classes\\CLSID\\{B}\\InprocServer32", exam));
  EXPECT_EQ(exam.ValueCount, 3u);
  EXPECT_TRUE(exam.Findings.empty());

  EXPECT_FALSE(reads.FindLeaf(0, "Software\\Classes\\CLSID\\{C}\\InprocServer32", exam));
  EXPECT_TRUE(reads.FindLeaf(256, "Software\\Classes\\CLSID\\{C}\\InprocServer32", exam));
  EXPECT_FALSE(reads.FindLeaf(0, "Software\\Classes\\CLSID\\{A}\\InprocServer", exam));
  EXPECT_FALSE(reads.FindLeaf(0, "Software\\Classes\\CLSID\\{A}", exam));

  // A listing keeps its names in order; an empty one is not kept.
  reads.KeepListing(0, "Software\\Classes\\CLSID\\{D}", {"ProgID", "InprocServer32"});
  reads.KeepListing(0, "Software\\Classes\\CLSID\\{E}", {});
  std::vector<std::string> names;
  ASSERT_TRUE(reads.FindListing(0, "software\\classes\\clsid\\{d}\\", names));
  EXPECT_EQ(names, (std::vector<std::string>{"ProgID", "InprocServer32"}));
  EXPECT_FALSE(reads.FindLeaf(0, "Software\\Classes\\CLSID\\{D}", exam));
  EXPECT_FALSE(reads.FindListing(0, "Software\\Classes\\CLSID\\{E}", names));
  EXPECT_FALSE(reads.FindListing(0, "Software\\Classes\\CLSID\\{B}\\InprocServer32", names));

  reads.Clear();
  EXPECT_TRUE(reads.Empty());
  EXPECT_FALSE(reads.FindLeaf(0, "Software\\Classes\\CLSID\\{B}\\InprocServer32", exam));
}

}  // namespace
}  // namespace tidewell
