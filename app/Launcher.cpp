#include "app/Launcher.h"

#include "app/RunMode.h"

namespace tidewell {

TLauncher::TLauncher(TLauncherWindows& windows, const std::string& runMode)
    : windows_(windows), runMode_(runMode) {}

void TLauncher::Click(TMainButton button) {
  switch (button) {
    case TMainButton::RegistryBackup:
      windows_.ShowModal(TFormKind::RegistryBackup);
      return;
    case TMainButton::RegistryCleanup:
      RegistryCleanupClick();
      return;
    case TMainButton::RegistryDefrag:
      windows_.ShowModal(TFormKind::RegistryDefrag);
      return;
    case TMainButton::Autorun:
      // The chain of task windows that follows an "Autorun" choice is the
      // auto-run window's business; here it is opened like the others.
      windows_.ShowModal(TFormKind::Autorun);
      return;
    case TMainButton::UndoCleanups:
      windows_.ShowModal(TFormKind::RegistryUndo);
      return;
    case TMainButton::Help:
      windows_.ShowModal(TFormKind::Help);
      return;
    case TMainButton::Exit:
      windows_.CloseMain();
      return;
  }
}

void TLauncher::RegistryCleanupClick() {
  windows_.ShowModal(TFormKind::CleanupSettings);
  if (runMode_ == kRunModeNext) windows_.ShowModal(TFormKind::RegistryCleanup);
}

}  // namespace tidewell
