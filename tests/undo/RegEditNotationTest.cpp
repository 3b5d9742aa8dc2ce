// The notation pieces shared by the undo reader and the registry fixtures.
#include "undo/RegEditNotation.h"

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

namespace tidewell {
namespace {

TEST(RegEditNotation, EscapeDoublesBackslashesAndEscapesQuotes) {
  EXPECT_EQ(EscapeRegEditText("C:\\Dir\\a \"b\".txt"),
            "C:\\\\Dir\\\\a \\\"b\\\".txt");
  EXPECT_EQ(EscapeRegEditText("plain"), "plain");
  EXPECT_EQ(EscapeRegEditText(""), "");
}

TEST(RegEditNotation, QuotedTextEndsAtTheFirstUnescapedQuote) {
  const std::string line = R"("a\"b\\"="x")";
  EXPECT_EQ(RegEditTextEnd(line, 0), 7u);
  EXPECT_EQ(RegEditTextEnd(line, 9), 11u);
  EXPECT_EQ(RegEditTextEnd(R"("C:\dir\")", 0), std::string::npos);
  EXPECT_EQ(RegEditTextEnd(R"("lone\x")", 0), 7u);
}

TEST(RegEditNotation, HexNumbersKeepWithinTheirWidth) {
  std::uint64_t wide = 0;
  EXPECT_TRUE(ParseHexNumber("00FFffFFffFFffFFff", wide));
  EXPECT_EQ(wide, 0xFFFFFFFFFFFFFFFFu);
  EXPECT_FALSE(ParseHexNumber("10000000000000000", wide));
  std::uint32_t narrow = 0;
  EXPECT_TRUE(ParseHexNumber("0ffffffff", narrow));
  EXPECT_EQ(narrow, 0xFFFFFFFFu);
  EXPECT_FALSE(ParseHexNumber("100000000", narrow));
  EXPECT_FALSE(ParseHexNumber("", wide));
  EXPECT_FALSE(ParseHexNumber("1g", narrow));
}

}  // namespace
}  // namespace tidewell
