#include "app/win/uCleanupSettings.h"

#include "app/RunMode.h"

namespace tidewell {

TfrmCleanupSettings::TfrmCleanupSettings(HWND owner, TAppServices& services,
                                         const TWinResources& resources)
    : TTaskForm("TfrmCleanupSettings", "Registry Cleanup Settings", owner,
                resources, false),
      services_(services) {
  btnNext_ = AddButton("Next", idNext, kButtonLeft + kButtonWidth + 8,
                       kBottomButtonTop, kButtonWidth, kButtonHeight);
}

void TfrmCleanupSettings::OnClick(int id) {
  if (id == idNext) {
    btnNextClick();
    return;
  }
  TTaskForm::OnClick(id);
}

void TfrmCleanupSettings::btnBackClick() {
  RunMode = kRunModeBack;
  CloseModal(mrCancel);
}

void TfrmCleanupSettings::btnNextClick() {
  RunMode = kRunModeNext;
  CloseModal(mrOk);
}

}  // namespace tidewell
