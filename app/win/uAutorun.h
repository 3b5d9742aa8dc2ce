// TfrmAutorun: the choice of tasks and final action for the automatic run, a
// thin Win32 view of TAutorunPresenter. Left: the radio groups "Tasks" and
// "On Completion"; right: the description with "Run" in bold orange; bottom:
// "Back" and "Run".
#pragma once

#include "app/AppServices.h"
#include "app/AutorunPresenter.h"
#include "ui/win/TaskForm.h"

namespace tidewell {

class TfrmAutorun final : public TTaskForm, private TAutorunView {
 public:
  inline static constexpr int idRun = 202;
  inline static constexpr int idFirstTask = 210;        // + rgTasks item index
  inline static constexpr int idFirstCompletion = 220;  // + rgOnCompletion item index
  inline static constexpr int idDescription = 230;

  TfrmAutorun(HWND owner, TAppServices& services, const TWinResources& resources);
  ~TfrmAutorun() override;

  HWND btnRun() const { return btnRun_; }
  // What the chain runs and how it ends.
  const TAutorunChoice& Choice() const { return presenter_.Choice(); }
  void StoreSettings() override;

 protected:
  void OnClick(int id) override;
  void OnCloseRequest() override;
  void btnBackClick() override;

 private:
  // TAutorunView
  void ShowTasks(int itemIndex) override;
  void ShowOnCompletion(int itemIndex) override;
  void CloseWindow() override;

  void CreateControls();
  void CreateDescription(int x, int y, int width, int height);
  void CheckRadio(int firstId, int itemIndex);

  TAutorunPresenter presenter_;
  HWND btnRun_ = nullptr;
  TImageList runImage_;
};

}  // namespace tidewell
