// What the launcher's buttons do, apart from the window that shows them: each
// opens its task window modally; the cleanup button opens the settings window
// first and goes on to the cleanup window only when that window left RunMode
// at "Next" (a "Back", or a title-bar close after an earlier "Back", stops
// there).
#pragma once

#include <string>

#include "app/MainWindowTexts.h"
#include "app/FormKind.h"

namespace tidewell {

// The windows as the launcher sees them.
class TLauncherWindows {
 public:
  virtual ~TLauncherWindows() = default;
  // Shows the task window and returns when it has closed.
  virtual void ShowModal(TFormKind form) = 0;
  // Closes the main window, which ends the program.
  virtual void CloseMain() = 0;
};

class TLauncher {
 public:
  // `runMode` is read after each modal window returns; both must outlive
  // the launcher.
  TLauncher(TLauncherWindows& windows, const std::string& runMode);

  void Click(TMainButton button);

 private:
  void RegistryCleanupClick();

  TLauncherWindows& windows_;
  const std::string& runMode_;
};

}  // namespace tidewell
