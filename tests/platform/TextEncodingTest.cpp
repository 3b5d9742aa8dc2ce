#include <gtest/gtest.h>

#include "platform/TextEncoding.h"

namespace tidewell {
namespace {

TEST(TextEncoding, RoundTripsEveryPlane) {
  const std::string text = "C:\\Prüfung\\ключ\\日本\\😀.txt";
  const std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide, u"C:\\Prüfung\\ключ\\日本\\😀.txt");
  EXPECT_EQ(Utf16ToUtf8(wide), text);
  EXPECT_EQ(Utf16Length(text), wide.size());
}

TEST(TextEncoding, UnpairedSurrogatesSurviveTheRoundTrip) {
  // Registry and file names may hold them; losing one would name another key.
  const std::u16string wide = {u'a', 0xD800, u'b', 0xDFFF};
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(wide)), wide);
}

TEST(TextEncoding, MalformedUtf8IsCarriedNotReplaced) {
  const std::string bytes = "a\xFF\xC3(b";
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(bytes)), bytes);
}

TEST(TextEncoding, LittleEndianBytesWithTerminator) {
  EXPECT_EQ(Utf16LeBytes(u"Aé", true), std::string("A\0\xE9\0\0\0", 6));
  EXPECT_EQ(Utf16LeBytes(u"", false), "");
}

TEST(TextEncoding, CaseMappingAsWindowsComparesNames) {
  EXPECT_EQ(UpcaseUtf8("software\\clsid_ä"), "SOFTWARE\\CLSID_Ä");
  EXPECT_EQ(DowncaseUtf8("C:\\WINDOWS\\ÄÖÜ"), "c:\\windows\\äöü");
  EXPECT_TRUE(NamesEqual("Ключ", "КЛЮЧ"));
  EXPECT_TRUE(NamesEqual("Software", "SOFTWARE"));
  EXPECT_FALSE(NamesEqual("Software", "Softwar"));
  EXPECT_FALSE(NamesEqual("A_", "AB"));
  // ß has no single upper-case letter; it stays itself.
  EXPECT_EQ(UpcaseUtf8("ß"), "ß");
}

}  // namespace
}  // namespace tidewell
