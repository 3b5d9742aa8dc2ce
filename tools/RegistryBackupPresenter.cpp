#include "tools/RegistryBackupPresenter.h"

#include <utility>

namespace tidewell {

std::vector<std::vector<TTextRun>> RegistryBackupInstructions(
    const std::string& backupFolder) {
  using S = TTextRun::TStyle;
  return {
      {{"For safety reasons you do wise in backing up your registry on a regular basis.", S::Plain}},
      {{"To back up the registry click the ", S::Plain},
       {"Run", S::RunWord},
       {" button.", S::Plain}},
      {{"The backup file, which is named after the date of backup, will be saved to:\n",
        S::Plain},
       {backupFolder, S::Folder}},
      {{"To restore the registry to a previous state double-click the desired backup file.",
        S::Plain}},
  };
}

TRegistryBackupPresenter::TRegistryBackupPresenter(
    TRegistryBackupView& view, std::function<TRegistryBackupResult()> backUp,
    std::function<bool()> autoMode)
    : view_(view), backUp_(std::move(backUp)), autoMode_(std::move(autoMode)) {}

void TRegistryBackupPresenter::Shown() {
  lastRunFailed_ = false;
  if (autoMode_()) view_.StartAfterShowTimer();
}

void TRegistryBackupPresenter::AfterShowTimer() {
  view_.StopAfterShowTimer();
  if (view_.IsVisible()) RunClicked();
}

void TRegistryBackupPresenter::RunClicked() {
  view_.SetButtonsEnabled(false);
  TRegistryBackupResult result;
  try {
    result = backUp_();
  } catch (...) {
    result.Succeeded = false;
  }
  lastRunFailed_ = !result.Succeeded;
  const bool autoMode = autoMode_();
  if (!result.Succeeded) {
    view_.ShowMessage(kBackupFailedText);
  } else if (!autoMode) {
    view_.ShowMessage(kBackupSucceededText + result.FileName);
  }
  view_.SetButtonsEnabled(true);
  if (autoMode) view_.Close();
}

void TRegistryBackupPresenter::BackClicked() { view_.Close(); }

}  // namespace tidewell
