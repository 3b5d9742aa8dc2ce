// ExitWin's system calls on Windows: the real forced restart, shut-down or
// power-off. Only the program itself uses this; tests use a recording double.
#pragma once

#include "app/ExitWin.h"

namespace tidewell {

class WinShutdownSystem final : public TShutdownSystem {
 public:
  bool IsNtFamily() override;
  bool EnableShutdownPrivilege() override;
  bool RequestExitWindows(std::uint32_t flags) override;
};

}  // namespace tidewell
