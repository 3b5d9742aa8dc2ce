// TfrmRegistryBackup: the full backup of the registry into an export file.
// A thin view: what Run, Back and the automatic run do is the presenter's
// (tools/RegistryBackupPresenter.h); this unit draws the window and hands
// the clicks and the timer to it.
#pragma once

#include <string>

#include "app/AppServices.h"
#include "platform/win/WinProcessRunner.h"
#include "tools/RegistryBackupPresenter.h"
#include "ui/win/GdiObject.h"
#include "ui/win/TaskForm.h"

namespace tidewell {

class TfrmRegistryBackup final : public TTaskForm, private TRegistryBackupView {
 public:
  inline static constexpr int idRun = 202;
  inline static constexpr UINT_PTR tmrAfterShow = 1;

  TfrmRegistryBackup(HWND owner, TAppServices& services, const TWinResources& resources);
  ~TfrmRegistryBackup() override;

  HWND btnRun() const { return btnRun_; }
  // Whether the backup of the latest showing failed (its message has been
  // shown); the automatic run asks it once the window has closed.
  bool AutoRunFailed() const { return presenter_.LastRunFailed(); }

 private:
  void BeforeShow() override;
  void OnClick(int id) override;
  void btnBackClick() override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc) override;

  // TRegistryBackupView
  void SetButtonsEnabled(bool enabled) override;
  void ShowMessage(const std::string& text) override;
  void StartAfterShowTimer() override;
  void StopAfterShowTimer() override;
  bool IsVisible() override;
  void Close() override;

  TAppServices& services_;
  WinProcessRunner processes_;
  TRegistryBackupPresenter presenter_;
  HWND btnRun_ = nullptr;
  TFont boldFont_;
  TFont titleFont_;
  TImageList runImage_;
};

}  // namespace tidewell
