#include "platform/NativeClock.h"

#include <cstdio>
#include <ctime>

namespace tidewell {

TLocalDateTime NativeClock::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  TLocalDateTime result;
  result.Year = local.tm_year + 1900;
  result.Month = local.tm_mon + 1;
  result.Day = local.tm_mday;
  result.Hour = local.tm_hour;
  result.Minute = local.tm_min;
  result.Second = local.tm_sec;
  return result;
}

std::string NativeClock::ShortDateText(const TLocalDateTime& when) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", when.Year, when.Month,
                when.Day);
  return text;
}

std::string NativeClock::LongTimeText(const TLocalDateTime& when) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", when.Hour, when.Minute,
                when.Second);
  return text;
}

}  // namespace tidewell
