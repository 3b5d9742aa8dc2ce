#include "platform/win/WinClock.h"

#include <windows.h>

#include "platform/TextEncoding.h"

namespace tidewell {
namespace {

SYSTEMTIME ToSystemTime(const TLocalDateTime& when) {
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(when.Year);
  time.wMonth = static_cast<WORD>(when.Month);
  time.wDay = static_cast<WORD>(when.Day);
  time.wHour = static_cast<WORD>(when.Hour);
  time.wMinute = static_cast<WORD>(when.Minute);
  time.wSecond = static_cast<WORD>(when.Second);
  return time;
}

// The Get*FormatW functions report the length they need, terminator included;
// 0 means failure, and then the text stays empty.
template <typename Format>
std::string FormatWith(Format format) {
  const int length = format(nullptr, 0);
  if (length <= 0) return std::string();
  std::u16string text(static_cast<std::size_t>(length), u'\0');
  const int written = format(reinterpret_cast<wchar_t*>(text.data()), length);
  if (written <= 0) return std::string();
  text.resize(static_cast<std::size_t>(written - 1));
  return Utf16ToUtf8(text);
}

}  // namespace

TLocalDateTime WinClock::Now() {
  SYSTEMTIME time{};
  GetLocalTime(&time);
  TLocalDateTime result;
  result.Year = time.wYear;
  result.Month = time.wMonth;
  result.Day = time.wDay;
  result.Hour = time.wHour;
  result.Minute = time.wMinute;
  result.Second = time.wSecond;
  return result;
}

std::string WinClock::ShortDateText(const TLocalDateTime& when) {
  const SYSTEMTIME time = ToSystemTime(when);
  return FormatWith([&](wchar_t* buffer, int size) {
    return GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr,
                          buffer, size);
  });
}

std::string WinClock::LongTimeText(const TLocalDateTime& when) {
  const SYSTEMTIME time = ToSystemTime(when);
  return FormatWith([&](wchar_t* buffer, int size) {
    return GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, buffer,
                          size);
  });
}

}  // namespace tidewell
