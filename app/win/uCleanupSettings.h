// TfrmCleanupSettings: the first step of a manual cleanup, left with "Next"
// (on to the cleanup window) or "Back". The choice reaches the launcher
// through RunMode; closing by the title bar leaves RunMode as it was.
// The category check boxes and the excluded-keys button come with the
// settings themselves; for now the window holds only its two buttons.
#pragma once

#include "app/AppServices.h"
#include "ui/win/TaskForm.h"

namespace tidewell {

class TfrmCleanupSettings final : public TTaskForm {
 public:
  inline static constexpr int idNext = 202;

  TfrmCleanupSettings(HWND owner, TAppServices& services, const TWinResources& resources);

  HWND btnNext() const { return btnNext_; }

 protected:
  void OnClick(int id) override;
  void btnBackClick() override;

 private:
  void btnNextClick();

  TAppServices& services_;
  HWND btnNext_ = nullptr;
};

}  // namespace tidewell
