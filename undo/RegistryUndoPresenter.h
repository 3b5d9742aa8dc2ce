// The undo window's behaviour without its Win32 controls: the list of undo
// files with the automatic deletion of old ones, the entries of the picked
// file with their ticks, restoring the ticked ones, deleting the picked file,
// and the window's settings. The Win32 window (TfrmRegistryUndo) is a view
// of it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"
#include "registry/RegistryStore.h"
#include "settings/SettingsFile.h"
#include "undo/UndoFileParser.h"
#include "undo/Undos.h"

namespace tidewell {

// Texts of the window.
inline constexpr const char* kUndoWindowCaption = "Undo Registry Cleanup";
inline constexpr const char* kUndoReadyText = "Ready!";
inline constexpr const char* kUndoRestoredText = "Restored!";
inline constexpr const char* kUndoDeletedText = "Deleted!";
inline constexpr const char* kRestartQuestion =
    "Restore was successful, however you must restart your PC. \r\n"
    "Do you want reboot your system now?";
inline constexpr const char* kDeleteUndoFileQuestion = "Delete undo file?";
inline constexpr const char* kDeleteUndoFileFailed = "Error deleting undo file.";
inline constexpr const char* kSelectEntryFirst = "Please select an entry first.";
inline constexpr const char* kUndoButtonHint = "This will undo the items with a check sign.";
inline constexpr const char* kDeleteButtonHint =
    "This will permanently delete the selected undo file.";
inline constexpr const char* kDeleteOldFilesHint =
    "This will automatically delete undo files older than the specified number of days.";
inline constexpr const char* kHelpButtonHint =
    "For help click me, then click anywhere on the window.";
// The long hint of the file group: six lines joined by CR LF.
std::string UndoFileGroupHint();
// Said when a restore ends with ticked entries not written back.
std::string RestoreFailedText(std::size_t notRestored);

// The settings file and its keys.
inline constexpr const char* kUndoSettingsStore = "RegistryUndo";
inline constexpr const char* kUndoSettingsSection = "frmRegistryUndo";
inline constexpr const char* kColumnWidthsKey = "lvwRegKeys.Columns.Width";
inline constexpr const char* kDeleteOldFilesKey = "gbDeleteUndoFiles.CheckBoxChecked";
inline constexpr const char* kOlderThanKey = "seOlderThan.Value";

// The entry list's columns "Key" and "Value".
struct TUndoColumn {
  const char* Caption;
  int Width;
  int MinWidth;
  int MaxWidth;
};
inline constexpr TUndoColumn kUndoColumns[] = {{"Key", 328, 300, 3000},
                                               {"Value", 341, 150, 1500}};
// A width kept within the column's limits.
int ClampColumnWidth(std::size_t column, int width);

// `seOlderThan`: whole days.
inline constexpr int kOlderThanMin = 1;
inline constexpr int kOlderThanMax = 60;
inline constexpr int kOlderThanDefault = 7;

// What the presenter asks of the window.
class TRegistryUndoView {
 public:
  virtual ~TRegistryUndoView() = default;
  // `cboUndoFiles` with its names; `picked` is -1 for no pick.
  virtual void ShowFiles(const std::vector<std::string>& names, int picked) = 0;
  // One row per entry (Key, Value) with its tick.
  virtual void ShowEntries(const std::vector<TUndoEntry>& entries) = 0;
  virtual void ShowTick(std::size_t row, bool ticked) = 0;
  virtual void SetUndoEnabled(bool enabled) = 0;
  // The picked-file group (Undo and Delete) and the Tick button.
  virtual void SetPickedFileGroupVisible(bool visible) = 0;
  virtual void SetTickEnabled(bool enabled) = 0;
  virtual void SetBackEnabled(bool enabled) = 0;
  // The tick box of `gbDeleteUndoFiles` and `seOlderThan`; the controls in
  // the group are enabled while the box is ticked.
  virtual void ShowDeleteOldFiles(bool ticked, int days) = 0;
  virtual void ShowColumnWidths(const std::vector<int>& widths) = 0;
  virtual std::vector<int> ColumnWidths() = 0;
  virtual void ShowStatus(const std::string& text) = 0;
  // An error box with an OK button; `titled`: with the program's title,
  // otherwise with an empty caption.
  virtual void ShowError(const std::string& text, bool titled) = 0;
  // A question with Yes and No; true for Yes.
  virtual bool Confirm(const std::string& text) = 0;
  // The system registry editor at the key (root name, backslash, path) and,
  // when not empty, the value.
  virtual void OpenRegistryEditor(const std::string& key, const std::string& valueName) = 0;
  // Ends the modal showing.
  virtual void Close() = 0;
};

// What the presenter works on; everything must outlive it.
struct TRegistryUndoSystem {
  TFileSystem& FileSystem;
  TAnsiCodePage& CodePage;
  RegistryStore& Registry;
  // The run's writer: its own file is read from its lines.
  const TRegUndoFile& Writer;
  // Restarts the computer at once, other programs forced to close (the
  // program's ExitWin).
  std::function<void()> Restart;
  // Now, in seconds since 1970 UTC, the scale of TFileInfo::ModifiedTime.
  std::function<std::int64_t()> Now;
};

class TRegistryUndoPresenter {
 public:
  // `applicationFolder` ends with a backslash and is read at each use.
  TRegistryUndoPresenter(TRegistryUndoView& view, TRegistryUndoSystem system,
                         TSettingsFile& settings, const std::string& applicationFolder);

  // At creation: the settings file's values over the defaults, shown.
  void Created();
  // Each showing: the file list filled again, the last pick kept, every
  // entry of the picked file ticked.
  void Shown();
  void FilePicked(int index);
  void RowTicked(std::size_t row, bool ticked);
  void TickAll();
  void TickNone();
  void UndoClicked();
  void DeleteClicked();
  void DeleteOldFilesClicked(bool ticked);
  void OlderThanChanged(int days);
  // `row` is the selected row, -1 for none.
  void RowDoubleClicked(int row);
  void BackClicked();
  // The window closed by any means: the entries go, the settings are kept.
  void Closed();
  // The column widths, the tick box and the days into the settings file.
  void StoreSettings();

  const std::vector<std::string>& Files() const { return files_; }
  int Picked() const { return picked_; }
  const std::vector<TUndoEntry>& Entries() const { return entries_; }

 private:
  void InitUndoSection();
  void LoadRestoreFiles();
  void LoadCurrentReg();
  void ShowFileGroup();
  void UpdateUndoEnabled();
  void SetAllTicks(bool ticked);

  TRegistryUndoView& view_;
  TRegistryUndoSystem system_;
  TSettingsFile& settings_;
  const std::string& applicationFolder_;
  std::vector<std::string> files_;
  int picked_ = -1;
  std::vector<TUndoEntry> entries_;
  bool deleteOldFiles_ = true;
  int olderThan_ = kOlderThanDefault;
};

}  // namespace tidewell
