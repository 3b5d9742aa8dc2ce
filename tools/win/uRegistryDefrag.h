// TfrmRegistryDefrag: the compaction of the registry hives. A thin view: what
// Run, Back and the automatic run do is the presenter's
// (tools/RegistryDefragPresenter.h) and the work is TRegistryDefrag's; this
// unit draws the window, keeps its status bar and hands it the clicks.
#pragma once

#include <memory>
#include <string>

#include "app/AppServices.h"
#include "platform/win/WinFileMaintenance.h"
#include "platform/win/WinSystemInfo.h"
#include "tools/RegistryDefrag.h"
#include "tools/RegistryDefragPresenter.h"
#include "ui/win/GdiObject.h"
#include "ui/win/TaskForm.h"

namespace tidewell {

class TfrmRegistryDefrag final : public TTaskForm, private TRegistryDefragView {
 public:
  inline static constexpr int idRun = 202;
  inline static constexpr int idStatusBar = 203;
  inline static constexpr UINT_PTR tmrAfterShow = 1;

  TfrmRegistryDefrag(HWND owner, TAppServices& services, const TWinResources& resources);
  ~TfrmRegistryDefrag() override;

  HWND btnRun() const { return btnRun_; }
  // The last run of this showing scheduled nothing or could not start; the
  // automatic run chain may ask before it restarts the computer.
  bool RunFailed() const { return presenter_->RunFailed(); }

 private:
  void BeforeShow() override;
  void OnClick(int id) override;
  void btnBackClick() override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc) override;

  // TRegistryDefragView
  void ChangeStatus(int image, const std::string& text) override;
  void SetProgress(int value) override;
  void ShowProgress(bool shown) override;
  void SetRunEnabled(bool enabled) override;
  void SetBackEnabled(bool enabled) override;
  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  void StartAfterShowTimer() override;
  void StopAfterShowTimer() override;
  bool IsVisible() override;
  void Close() override;

  TAppServices& services_;
  HIMAGELIST images_;
  WinFileMaintenance maintenance_;
  WinSystemInfo systemInfo_;
  std::unique_ptr<TRegistryDefrag> defrag_;
  std::unique_ptr<TRegistryDefragPresenter> presenter_;
  HWND btnRun_ = nullptr;
  HWND statusBar_ = nullptr;
  HWND progressBar_ = nullptr;
  TFont boldFont_;
  TFont titleFont_;
  TImageList runImage_;
  TIcon statusIcon_;
};

}  // namespace tidewell
