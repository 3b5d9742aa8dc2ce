// The host's local clock. There is no user locale to follow outside Windows,
// so dates and times are shown in the unambiguous ISO 8601 forms.
#pragma once

#include "platform/Clock.h"

namespace tidewell {

class NativeClock : public TClock {
 public:
  TLocalDateTime Now() override;
  std::string ShortDateText(const TLocalDateTime& when) override;  // 2005-11-08
  std::string LongTimeText(const TLocalDateTime& when) override;   // 10:28:32
};

}  // namespace tidewell
