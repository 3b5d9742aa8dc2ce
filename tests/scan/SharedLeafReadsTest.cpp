#include "scan/SharedLeafReads.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

// A key is found however the registry would let its path be spelt, in its own
// view only, with what was first kept for it; the store empties with the scan.
TEST(SharedLeafReads, FindsAKeyByItsFoldedPathInItsViewOnly) {
  TSharedLeafReads reads;
  TLeafExamination exam;
  EXPECT_FALSE(reads.Find(0, "Software\\Classes\\A", exam));

  reads.Keep(0, "Software\\Classes\\CLSID\\{A}\\InprocServer32",
             {2, {{1, "", "C:\\gone.dll", {"file c:\\gone.dll: missing"}}}});
  reads.Keep(0, "Software\\Classes\\CLSID\\{B}\\InprocServer32", {3, {}});
  reads.Keep(0, "\\SOFTWARE\\classes\\clsid\\{b}\\INPROCSERVER32\\", {7, {}});
  reads.Keep(256, "Software\\Classes\\CLSID\\{C}\\InprocServer32", {1, {}});

  ASSERT_TRUE(reads.Find(0, "\\software\\CLASSES\\Clsid\\{a}\\inprocserver32", exam));
  EXPECT_EQ(exam.ValueCount, 2u);
  ASSERT_EQ(exam.Findings.size(), 1u);
  EXPECT_EQ(exam.Findings[0].ValueIndex, 1u);
  EXPECT_EQ(exam.Findings[0].Data, "C:\\gone.dll");
  EXPECT_EQ(exam.Findings[0].Tested,
            std::vector<std::string>{"file c:\\gone.dll: missing"});

  ASSERT_TRUE(reads.Find(0, "Software\\Classes\\CLSID\\{B}\\InprocServer32", exam));
  EXPECT_EQ(exam.ValueCount, 3u);
  EXPECT_TRUE(exam.Findings.empty());

  EXPECT_FALSE(reads.Find(0, "Software\\Classes\\CLSID\\{C}\\InprocServer32", exam));
  EXPECT_TRUE(reads.Find(256, "Software\\Classes\\CLSID\\{C}\\InprocServer32", exam));
  EXPECT_FALSE(reads.Find(0, "Software\\Classes\\CLSID\\{A}\\InprocServer", exam));
  EXPECT_FALSE(reads.Find(0, "Software\\Classes\\CLSID\\{A}", exam));

  reads.Clear();
  EXPECT_TRUE(reads.Empty());
  EXPECT_FALSE(reads.Find(0, "Software\\Classes\\CLSID\\{B}\\InprocServer32", exam));
}

}  // namespace
}  // namespace tidewell
