// TfrmRegistryUndo: restoring chosen entries from an undo file. A thin view:
// what the lists, ticks and buttons do is the presenter's
// (undo/RegistryUndoPresenter.h); this unit lays out the controls, shows what
// it is told and hands the user's actions on. The entry list fills the
// window above a bottom panel with the Tick and Back buttons, the groups
// "Select Undo File", "Selected Undo File" and "Delete Undo Files", the help
// button, and the status bar below.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/AppServices.h"
#include "ui/win/GdiObject.h"
#include "ui/win/TaskForm.h"
#include "undo/RegistryUndoPresenter.h"

namespace tidewell {

class TfrmRegistryUndo final : public TTaskForm, private TRegistryUndoView {
 public:
  inline static constexpr int idList = 301;
  inline static constexpr int idTick = 302;
  inline static constexpr int idFiles = 303;
  inline static constexpr int idUndo = 304;
  inline static constexpr int idDelete = 305;
  inline static constexpr int idDeleteOld = 306;
  inline static constexpr int idOlderThan = 307;
  inline static constexpr int idOlderThanSpin = 308;
  inline static constexpr int idHelp = 309;
  inline static constexpr int idStatus = 310;
  inline static constexpr int idFileGroup = 311;
  inline static constexpr int idPickedGroup = 312;
  inline static constexpr int idDeleteGroup = 313;
  inline static constexpr int idTickAll = 320;   // Tick menu
  inline static constexpr int idTickNone = 321;
  // The system menu's "&What's This?".
  inline static constexpr UINT kWhatsThisCommand = 0x0110;
  inline static constexpr int kHelpPopupWidth = 430;

  TfrmRegistryUndo(HWND owner, TAppServices& services, const TWinResources& resources);
  ~TfrmRegistryUndo() override;

  // "FormPlacement", the column widths, the tick box and the days.
  void StoreSettings() override;

 private:
  void CreateControls(const TWinResources& resources);
  void BeforeShow() override;
  void OnClick(int id) override;
  void OnCloseRequest() override;
  void btnBackClick() override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnNotify(NMHDR* header);
  void ShowTickMenu();
  void ShowHelpAt(POINT clientPoint) override;
  void FormClose();
  void AddHint(HWND control, const std::string& text);
  void SetStatusText(const std::string& text);

  // TRegistryUndoView
  void ShowFiles(const std::vector<std::string>& names, int picked) override;
  void ShowEntries(const std::vector<TUndoEntry>& entries) override;
  void ShowTick(std::size_t row, bool ticked) override;
  void SetUndoEnabled(bool enabled) override;
  void SetPickedFileGroupVisible(bool visible) override;
  void SetTickEnabled(bool enabled) override;
  void SetBackEnabled(bool enabled) override;
  void ShowDeleteOldFiles(bool ticked, int days) override;
  void ShowColumnWidths(const std::vector<int>& widths) override;
  std::vector<int> ColumnWidths() override;
  void ShowStatus(const std::string& text) override;
  void ShowError(const std::string& text, bool titled) override;
  bool Confirm(const std::string& text) override;
  void OpenRegistryEditor(const std::string& key, const std::string& valueName) override;
  void Close() override;

  TAppServices& services_;
  TSettingsFile& settings_;
  TRegistryUndoPresenter presenter_;
  HWND lvwRegKeys_ = nullptr;
  HWND btnTick_ = nullptr;
  HWND cboUndoFiles_ = nullptr;
  HWND gbPicked_ = nullptr;
  HWND btnUndo_ = nullptr;
  HWND btnDelete_ = nullptr;
  HWND gbDeleteUndoFiles_ = nullptr;
  HWND chkDeleteUndoFiles_ = nullptr;
  HWND lblOlderThan_ = nullptr;
  HWND seOlderThan_ = nullptr;
  HWND seOlderThanSpin_ = nullptr;
  HWND lblDays_ = nullptr;
  HWND btnHelp_ = nullptr;
  HWND sbStatus_ = nullptr;
  HWND toolTips_ = nullptr;
  TFont boldFont_;
  TImageList tickImage_;
  TIcon statusIcon_;
  // Controls' long hints, shown as tooltips and in "What's This?" mode.
  std::map<HWND, std::string> hints_;
  // Set while the window changes its own controls, whose notifications must
  // then not reach the presenter.
  bool updating_ = false;
};

}  // namespace tidewell
