// What the launcher's buttons do, apart from the window that shows them: each
// opens its task window modally; the cleanup button opens the settings window
// first and goes on to the cleanup window only when that window left RunMode
// at "Next" (a "Back", or a title-bar close after an earlier "Back", stops
// there); the auto-run button opens the auto-run window and, when that window
// left RunMode at "Autorun", runs the chain of task windows and ends it with
// the chosen restart, shut-down or power-off.
#pragma once

#include <string>
#include <vector>

#include "app/AutorunPresenter.h"
#include "app/ExitWin.h"
#include "app/FormKind.h"
#include "app/MainWindowTexts.h"

namespace tidewell {

// The windows as the launcher sees them.
class TLauncherWindows {
 public:
  virtual ~TLauncherWindows() = default;
  // Shows the task window and returns when it has closed.
  virtual void ShowModal(TFormKind form) = 0;
  // Closes the main window, which ends the program.
  virtual void CloseMain() = 0;

  // For the automatic run:
  // The choices the auto-run window holds.
  virtual TAutorunChoice AutorunChoice() = 0;
  // Asked after a task window of the chain has closed: whether the work it
  // did by itself failed (backup error, undo step failed, compaction failed).
  virtual bool AutoRunFailed(TFormKind form) = 0;
  // Handles the window messages waiting in the queue.
  virtual void ProcessMessages() = 0;
  // A message box over the launcher; returns once it is dismissed.
  virtual void ShowMessage(const std::string& text) = 0;
};

// The message that ends a chain in which a step failed, instead of the
// restart, shut-down or power-off. `failed` lists the windows whose work
// failed, in chain order.
std::string AutorunStoppedMessage(const std::vector<TFormKind>& failed,
                                  TExitWinAction action);

class TLauncher {
 public:
  // `runMode` is read after each modal window returns; everything must
  // outlive the launcher.
  TLauncher(TLauncherWindows& windows, std::string& runMode, TExitWin& exitWin);

  void Click(TMainButton button);

 private:
  void RegistryCleanupClick();
  void AutorunClick();
  void RunChain();

  TLauncherWindows& windows_;
  std::string& runMode_;
  TExitWin& exitWin_;
};

}  // namespace tidewell
