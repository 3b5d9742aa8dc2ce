#include "app/Launcher.h"

#include "app/RunMode.h"

namespace tidewell {

namespace {

const char* StepName(TFormKind form) {
  switch (form) {
    case TFormKind::RegistryBackup: return "the registry backup";
    case TFormKind::RegistryCleanup: return "the registry cleanup";
    case TFormKind::RegistryDefrag: return "the registry defrag";
    default: return "a task";
  }
}

const char* ActionWords(TExitWinAction action) {
  switch (action) {
    case TExitWinAction::Restart: return "restarted";
    case TExitWinAction::ShutDown: return "shut down";
    case TExitWinAction::PowerOff: return "powered off";
  }
  return "restarted";
}

}  // namespace

std::string AutorunStoppedMessage(const std::vector<TFormKind>& failed,
                                  TExitWinAction action) {
  std::string steps;
  for (std::size_t i = 0; i < failed.size(); ++i) {
    if (i > 0) steps += i + 1 == failed.size() ? " and " : ", ";
    steps += StepName(failed[i]);
  }
  return std::string("Auto Run did not finish: ") + steps + " failed.\n\n" +
         "The computer has not been " + ActionWords(action) +
         ", so that you can see what went wrong.";
}

TLauncher::TLauncher(TLauncherWindows& windows, std::string& runMode, TExitWin& exitWin)
    : windows_(windows), runMode_(runMode), exitWin_(exitWin) {}

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
      AutorunClick();
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

void TLauncher::AutorunClick() {
  windows_.ShowModal(TFormKind::Autorun);
  // "Back" cleared RunMode; a title-bar close left it as it was.
  if (runMode_ == kRunModeAutorun) RunChain();
}

void TLauncher::RunChain() {
  const TAutorunChoice choice = windows_.AutorunChoice();
  std::vector<TFormKind> steps{TFormKind::RegistryBackup};
  if (choice.Tasks != TAutorunTasks::Backup) steps.push_back(TFormKind::RegistryCleanup);
  if (choice.Tasks == TAutorunTasks::BackupCleanupDefrag) {
    steps.push_back(TFormKind::RegistryDefrag);
  }

  // Each window works by itself while RunMode is "Autorun" and closes when
  // done; a failed step does not stop the next one (a failed backup still
  // leaves the cleanup its own undo file).
  std::vector<TFormKind> failed;
  for (TFormKind step : steps) {
    windows_.ShowModal(step);
    if (windows_.AutoRunFailed(step)) failed.push_back(step);
    windows_.ProcessMessages();
  }

  const TExitWinAction action = ExitWinActionOf(choice.OnCompletion);
  if (!failed.empty()) {
    // A forced restart would close the very message that says what went
    // wrong, and a cleanup window still showing its error: the machine stays
    // up, and the task windows go back to waiting for the user.
    runMode_.clear();
    windows_.ShowMessage(AutorunStoppedMessage(failed, action));
    return;
  }
  // When the system refuses, nothing is said; RunMode stays "Autorun".
  exitWin_.SetAction(action);
  exitWin_.Execute();
}

}  // namespace tidewell
