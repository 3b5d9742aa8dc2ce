// The Windows local clock, with dates and times in the user's own formats.
#pragma once

#include "platform/Clock.h"

namespace tidewell {

class WinClock : public TClock {
 public:
  TLocalDateTime Now() override;                                   // GetLocalTime
  std::string ShortDateText(const TLocalDateTime& when) override;  // GetDateFormatW
  std::string LongTimeText(const TLocalDateTime& when) override;   // GetTimeFormatW
};

}  // namespace tidewell
