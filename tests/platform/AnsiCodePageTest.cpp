// The platform seams the undo file relies on: Windows-1252 as Windows maps
// it, and the native clock's texts.
#include <gtest/gtest.h>

#include <string>

#include "platform/AnsiCodePage.h"
#include "platform/NativeClock.h"
#ifdef _WIN32
#include "platform/win/WinAnsiCodePage.h"
#include "platform/win/WinClock.h"
#endif

namespace tidewell {
namespace {

TEST(Windows1252CodePageTest, EveryByteRoundTrips) {
  Windows1252CodePage codePage;
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  std::string back;
  EXPECT_TRUE(codePage.FromUtf8(codePage.ToUtf8(all), back));
  EXPECT_EQ(back, all);
}

TEST(Windows1252CodePageTest, MapsTheHighControlRangeAsWindowsDoes) {
  Windows1252CodePage codePage;
  EXPECT_EQ(codePage.ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(codePage.ToUtf8("\x9F"), "\xC5\xB8");      // Y with diaeresis
  EXPECT_EQ(codePage.ToUtf8("\x81"), "\xC2\x81");      // undefined: passes
  EXPECT_EQ(codePage.ToUtf8("\xE9"), "\xC3\xA9");      // e acute
  std::string bytes;
  EXPECT_TRUE(codePage.FromUtf8(std::string("a\0b", 3), bytes));
  EXPECT_EQ(bytes, std::string("a\0b", 3));
}

TEST(Windows1252CodePageTest, ReportsWhatItCannotHold) {
  Windows1252CodePage codePage;
  std::string bytes;
  EXPECT_FALSE(codePage.FromUtf8("a\xCE\xB1z", bytes));  // Greek alpha
  EXPECT_EQ(bytes, "a?z");
  EXPECT_FALSE(codePage.FromUtf8("\xC2\x80", bytes));  // U+0080 has no byte
  EXPECT_FALSE(codePage.FromUtf8("\xF0\x9F\x98\x80", bytes));  // beyond BMP
  EXPECT_FALSE(codePage.FromUtf8("\xFF", bytes));  // malformed UTF-8
}

TEST(NativeClockTest, ShowsIsoDateAndTime) {
  NativeClock clock;
  const TLocalDateTime when{2005, 11, 8, 10, 28, 32};
  EXPECT_EQ(clock.ShortDateText(when), "2005-11-08");
  EXPECT_EQ(clock.LongTimeText(when), "10:28:32");
  const TLocalDateTime now = clock.Now();
  EXPECT_GE(now.Year, 2020);
  EXPECT_GE(now.Month, 1);
  EXPECT_LE(now.Month, 12);
}

#ifdef _WIN32
TEST(WinAnsiCodePageTest, ConvertsLosslesslyOrSaysSo) {
  WinAnsiCodePage codePage;
  std::string bytes;
  EXPECT_TRUE(codePage.FromUtf8(std::string("C:\\x \"y\"\0z", 10), bytes));
  EXPECT_EQ(bytes, std::string("C:\\x \"y\"\0z", 10));
  EXPECT_EQ(codePage.ToUtf8(bytes), std::string("C:\\x \"y\"\0z", 10));
  // An unpaired surrogate has a byte form in no code page.
  EXPECT_FALSE(codePage.FromUtf8("a\xED\xA0\x80", bytes));
  // Whatever the system code page, what converts losslessly comes back.
  if (codePage.FromUtf8("caf\xC3\xA9", bytes)) {
    EXPECT_EQ(codePage.ToUtf8(bytes), "caf\xC3\xA9");
  }
}

TEST(WinClockTest, ShowsTheDateAndTimeInTheUsersFormats) {
  WinClock clock;
  const TLocalDateTime when{2005, 11, 8, 10, 28, 32};
  EXPECT_NE(clock.ShortDateText(when).find("05"), std::string::npos);
  const std::string time = clock.LongTimeText(when);
  EXPECT_NE(time.find("28"), std::string::npos);
  EXPECT_NE(time.find("32"), std::string::npos);
  EXPECT_GE(clock.Now().Year, 2020);
}
#endif

}  // namespace
}  // namespace tidewell
