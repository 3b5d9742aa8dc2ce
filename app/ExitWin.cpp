#include "app/ExitWin.h"

namespace tidewell {

std::uint32_t ExitWindowsFlags(TExitWinAction action) {
  switch (action) {
    case TExitWinAction::Restart: return ewx::Reboot | ewx::Force;
    case TExitWinAction::ShutDown: return ewx::Shutdown | ewx::Force;
    case TExitWinAction::PowerOff: return ewx::PowerOff | ewx::Force;
  }
  return ewx::Reboot | ewx::Force;
}

bool TExitWin::Execute() {
  if (system_.IsNtFamily() && !system_.EnableShutdownPrivilege()) return false;
  return system_.RequestExitWindows(ExitWindowsFlags(action_));
}

}  // namespace tidewell
