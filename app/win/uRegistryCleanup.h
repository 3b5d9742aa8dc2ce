// TfrmRegistryCleanup: the scan, the list of problems found and their
// deletion, a thin Win32 view of TRegistryCleanupPresenter. The list of
// problems with tick boxes fills the window; below it the engine's status
// line, the buttons Back, Run/Stop, Tick and Delete, and a status bar with
// the status, the total and the progress bar.
#pragma once

#include <cstdint>
#include <functional>

#include "app/AppServices.h"
#include "app/RegistryCleanupPresenter.h"
#include "scan/FileReferences.h"
#include "ui/win/GdiObject.h"
#include "ui/win/MessageWindowDispatcher.h"
#include "ui/win/TaskForm.h"

namespace tidewell {

class TfrmRegistryCleanup final : public TTaskForm, private TRegistryCleanupView {
 public:
  inline static constexpr int idRun = 301;
  inline static constexpr int idDelete = 302;
  inline static constexpr int idTick = 303;
  inline static constexpr int idList = 304;
  inline static constexpr int idStatusBar = 305;
  inline static constexpr int idRegKey = 306;
  // Menu commands: Tick's menu and the list's context menu.
  inline static constexpr int idTickAll = 310;
  inline static constexpr int idTickNone = 311;
  inline static constexpr int idViewSelected = 312;
  inline static constexpr int idExcludeSelected = 313;
  inline static constexpr int idDeleteSelected = 314;

  // `categories` gives the engine's flags from the settings window's boxes
  // when a scan starts.
  TfrmRegistryCleanup(HWND owner, TAppServices& services, const TWinResources& resources,
                      std::function<std::uint16_t()> categories);
  ~TfrmRegistryCleanup() override;

  // The column widths and "FormPlacement" into the settings file's store.
  void StoreSettings() override;
  // In auto mode: the undo step failed or nothing could be scanned.
  bool AutoRunFailed() const { return presenter_.AutoRunFailed(); }

 protected:
  void BeforeShow() override;
  void OnClick(int id) override;
  void OnCloseRequest() override;
  void btnBackClick() override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // TRegistryCleanupView
  void AddRow(const std::string& key, const std::string& value,
              const std::string& description) override;
  void RemoveRow(int index) override;
  void ClearRows() override;
  void ShowRowTick(int index, bool ticked) override;
  void ShowStatus(TStatusIcon icon, const std::string& text) override;
  void ShowTotal(const std::string& text) override;
  void ShowStatusLine(const std::string& text) override;
  void ShowProgress(std::int32_t max, std::int32_t position) override;
  void SetPaneVisible(TCleanupPane pane, bool visible) override;
  void SetButtonEnabled(TCleanupButton button, bool enabled) override;
  void ShowRunAsStop(bool stop) override;
  void ShowMessage(TMessageKind kind, const std::string& text) override;
  bool OpenRegistryEditor(const std::string& key, const std::string& value) override;
  void StartAfterShowTimer() override;
  void StopAfterShowTimer() override;
  bool IsVisible() override;
  void CloseWindow() override;

  void CreateControls();
  void CreateList();
  void CreateStatusBar();
  void SetButtonImage(HWND button, TImageList& image, int index);
  // The list's notifications: ticks, the highlighted row, double-clicks and
  // the columns' width limits.
  void OnListNotify(const NMHDR& header, LPARAM lParam);
  // The list's tooltip: why the row was reported, or nothing.
  void ShowWhyFlagged(int row);
  void ShowTickMenu();
  void ShowContextMenu(int x, int y);
  void ApplyColumnWidths(const std::vector<std::int64_t>& widths);

  TAppServices& services_;
  TSettingsFile& settings_;
  TFileReferences references_;
  TMessageWindowDispatcher dispatcher_;
  TRegistryCleanupPresenter presenter_;

  HWND btnRun_ = nullptr;
  HWND btnDelete_ = nullptr;
  HWND btnTick_ = nullptr;
  HWND lvwRegKeys_ = nullptr;
  HWND lblRegKey_ = nullptr;
  HWND statusBar_ = nullptr;
  HWND progressBar_ = nullptr;
  HWND tooltip_ = nullptr;
  HIMAGELIST images_ = nullptr;
  TFont boldFont_;
  TImageList runImage_;
  TImageList stopImage_;
  TImageList deleteImage_;
  TImageList tickImage_;
  TIcon statusIcons_[2];
  bool totalShown_ = false;
  std::string totalText_;
};

}  // namespace tidewell
