// ExitWin: the forced restart, shut-down or power-off that the undo window,
// the compaction and the auto-run chain end with. The system calls go through
// TShutdownSystem so that tests observe the request instead of ending the
// machine (under Wine, ExitWindowsEx ends every process of the prefix).
#pragma once

#include <cstdint>

namespace tidewell {

enum class TExitWinAction { Restart, ShutDown, PowerOff };

// ExitWindowsEx flags, as Windows defines them.
namespace ewx {
constexpr std::uint32_t Shutdown = 0x00000001;  // EWX_SHUTDOWN
constexpr std::uint32_t Reboot = 0x00000002;    // EWX_REBOOT
constexpr std::uint32_t Force = 0x00000004;     // EWX_FORCE
constexpr std::uint32_t PowerOff = 0x00000008;  // EWX_POWEROFF
}  // namespace ewx

// The action's flag with EWX_FORCE added: running programs are not asked.
std::uint32_t ExitWindowsFlags(TExitWinAction action);

class TShutdownSystem {
 public:
  virtual ~TShutdownSystem() = default;
  virtual bool IsNtFamily() = 0;
  // Opens the current process and its token (adjust privileges, query), looks
  // up "SeShutdownPrivilege" and enables it; false when any step fails.
  virtual bool EnableShutdownPrivilege() = 0;
  // ExitWindowsEx; true when the system accepted the request.
  virtual bool RequestExitWindows(std::uint32_t flags) = 0;
};

class TExitWin {
 public:
  // The system must outlive the object.
  explicit TExitWin(TShutdownSystem& system) : system_(system) {}

  TExitWinAction Action() const { return action_; }
  void SetAction(TExitWinAction action) { action_ = action; }

  // True when the system accepted the request. On the NT family the shutdown
  // privilege is enabled first, whatever the start-up could enable; when that
  // fails nothing is requested.
  bool Execute();

 private:
  TShutdownSystem& system_;
  TExitWinAction action_ = TExitWinAction::Restart;
};

}  // namespace tidewell
