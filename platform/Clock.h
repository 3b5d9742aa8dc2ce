// The local clock and the user's date and time formats, behind a seam so that
// time-stamped file names and the texts that show a date can be tested.
#pragma once

#include <string>

namespace tidewell {

// One reading of the local wall clock.
struct TLocalDateTime {
  int Year = 0;
  int Month = 0;  // 1 to 12
  int Day = 0;    // 1 to 31
  int Hour = 0;   // 0 to 23
  int Minute = 0;
  int Second = 0;
};

class TClock {
 public:
  virtual ~TClock() = default;
  virtual TLocalDateTime Now() = 0;
  // The date in the user's short date format ("08/11/2005" or the like).
  virtual std::string ShortDateText(const TLocalDateTime& when) = 0;
  // The time of day in the user's long time format ("10:28:32" or the like).
  virtual std::string LongTimeText(const TLocalDateTime& when) = 0;
};

}  // namespace tidewell
