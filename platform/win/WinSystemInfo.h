// TSystemInfo from GetVersionExW, the tick count and the user's locale.
#pragma once

#include "platform/SystemInfo.h"

namespace tidewell {

class WinSystemInfo final : public TSystemInfo {
 public:
  TSystemVersion Version() override;
  std::int64_t BootTime() override;
  std::string DecimalSeparator() override;
};

}  // namespace tidewell
