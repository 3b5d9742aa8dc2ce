#include "app/CleanupSettingsPresenter.h"

#include "app/RunMode.h"

namespace tidewell {

bool IsSoftwareBox(TCleanupBox box) {
  return box != TCleanupBox::ClassesSection && box != TCleanupBox::ClearFileList;
}

TCleanupSettingsPresenter::TCleanupSettingsPresenter(
    TCleanupSettingsView& view, std::string& runMode, TSettingsFile& settings,
    TExcludedKeysEditor& editor, const std::string& applicationFolder)
    : view_(view),
      runMode_(runMode),
      settings_(settings),
      editor_(editor),
      applicationFolder_(applicationFolder) {}

void TCleanupSettingsPresenter::Created() {
  checks_ = ReadCleanupChecksLeniently(settings_);
  for (int i = 0; i < kCleanupBoxCount; ++i) {
    const auto box = static_cast<TCleanupBox>(i);
    view_.ShowTick(box, Tick(box));
  }
  view_.ShowGroupTick(checks_.gbClearSoftware);
  view_.EnableSoftwareBoxes(checks_.gbClearSoftware);
}

void TCleanupSettingsPresenter::BoxClicked(TCleanupBox box, bool ticked) {
  Tick(box) = ticked;
}

void TCleanupSettingsPresenter::GroupBoxClicked(bool ticked) {
  // The seven keep their ticks; only whether they count changes.
  checks_.gbClearSoftware = ticked;
  view_.EnableSoftwareBoxes(ticked);
}

void TCleanupSettingsPresenter::BackClicked() {
  runMode_ = kRunModeBack;
  Close();
}

void TCleanupSettingsPresenter::NextClicked() {
  runMode_ = kRunModeNext;
  Close();
}

void TCleanupSettingsPresenter::CloseRequested() { Close(); }

bool TCleanupSettingsPresenter::ExcludedKeysClicked() {
  return editor_.Open(applicationFolder_);
}

void TCleanupSettingsPresenter::StoreSettings() {
  settings_.Clear();
  StoreCleanupChecks(checks_, settings_);
}

void TCleanupSettingsPresenter::Close() {
  StoreSettings();
  view_.CloseWindow();
}

bool& TCleanupSettingsPresenter::Tick(TCleanupBox box) {
  switch (box) {
    case TCleanupBox::ClassesSection: return checks_.chkClassesSection;
    case TCleanupBox::ClearFileList: return checks_.chkClearFileList;
    case TCleanupBox::SharedDLL: return checks_.chkSharedDLL;
    case TCleanupBox::InvalidFileAssociations: return checks_.chkInvalidFileAssociations;
    case TCleanupBox::WinStartup: return checks_.chkWinStartup;
    case TCleanupBox::APPPath: return checks_.chkAPPPath;
    case TCleanupBox::Help: return checks_.chkHelp;
    case TCleanupBox::Fonts: return checks_.chkFonts;
    case TCleanupBox::Sounds: return checks_.chkSounds;
  }
  return checks_.chkSounds;
}

}  // namespace tidewell
