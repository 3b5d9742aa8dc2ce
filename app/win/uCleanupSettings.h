// TfrmCleanupSettings: the first step of a manual cleanup, a thin Win32 view
// of TCleanupSettingsPresenter. Left: the groups "Options", "Clear Software
// Section" (with a check box in its caption) and "Excluded Keys" with its
// "..." button; right: the instruction text; bottom: "Back" and "Next".
#pragma once

#include "app/AppServices.h"
#include "app/CleanupSettingsPresenter.h"
#include "app/ExcludedKeysEditor.h"
#include "ui/win/GdiObject.h"
#include "ui/win/TaskForm.h"

namespace tidewell {

class TfrmCleanupSettings final : public TTaskForm, private TCleanupSettingsView {
 public:
  inline static constexpr int idNext = 202;
  inline static constexpr int idFirstBox = 210;  // + TCleanupBox
  inline static constexpr int idClearSoftware = 220;
  inline static constexpr int idExcludedKeys = 221;
  inline static constexpr int idInstructions = 222;

  TfrmCleanupSettings(HWND owner, TAppServices& services, const TWinResources& resources);

  HWND btnNext() const { return btnNext_; }
  // What the cleanup window's scan selects.
  const TCleanupSettingsPresenter& Presenter() const { return presenter_; }
  void StoreSettings() override;

 protected:
  void OnClick(int id) override;
  void OnCloseRequest() override;
  void btnBackClick() override;
  void BeforeShow() override;

 private:
  // TCleanupSettingsView
  void ShowTick(TCleanupBox box, bool ticked) override;
  void ShowGroupTick(bool ticked) override;
  void EnableSoftwareBoxes(bool enabled) override;
  void CloseWindow() override;

  void CreateControls();
  void CreateInstructions(int x, int y, int width, int height);
  void AddHelpTip(HWND control);

  TExcludedKeysEditor editor_;
  TCleanupSettingsPresenter presenter_;
  HWND btnNext_ = nullptr;
  HWND boxes_[kCleanupBoxCount] = {};
  HWND gbClearSoftware_ = nullptr;
  HWND chkClearSoftware_ = nullptr;
  HWND tooltip_ = nullptr;
};

}  // namespace tidewell
