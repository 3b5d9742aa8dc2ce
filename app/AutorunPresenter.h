// The logic of the auto-run window: the two radio groups with their defaults
// and their settings file, "Back" and "Run" through RunMode, and the texts the
// window shows. The Win32 window (TfrmAutorun) is a view of it; the chain of
// task windows that follows a "Run" is the launcher's (app/Launcher.h).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/ExitWin.h"
#include "settings/SettingsFile.h"

namespace tidewell {

// rgTasks, by item index.
enum class TAutorunTasks { BackupCleanupDefrag = 0, BackupCleanup = 1, Backup = 2 };
// rgOnCompletion, by item index.
enum class TAutorunCompletion { Restart = 0, ShutDown = 1, PowerOff = 2 };

// What the user chose, as the chain reads it.
struct TAutorunChoice {
  TAutorunTasks Tasks = TAutorunTasks::BackupCleanupDefrag;
  TAutorunCompletion OnCompletion = TAutorunCompletion::Restart;
};

// The ExitWin request that ends the chain.
TExitWinAction ExitWinActionOf(TAutorunCompletion completion);

inline constexpr const char* kAutorunCaption = "Auto Run";
inline constexpr const char* kTasksGroupCaption = "Tasks";
inline constexpr const char* kOnCompletionGroupCaption = "On Completion";
inline constexpr const char* kOnCompletionHelpText =
    "What to do when defragmentation is completed.";
// In item-index order.
inline constexpr std::array<const char*, 3> kTaskItems = {
    "Backup-Cleanup-Defrag", "Backup-Cleanup", "Backup"};
inline constexpr std::array<const char*, 3> kOnCompletionItems = {"Restart", "Shut Down",
                                                                  "Power Off"};

// The settings file "Autorun.ini", section "frmAutorun".
inline constexpr const char* kAutorunSettingsStore = "Autorun";
inline constexpr const char* kAutorunSettingsSection = "frmAutorun";
inline constexpr const char* kTasksSettingName = "rgTasks.ItemIndex";
inline constexpr const char* kOnCompletionSettingName = "rgOnCompletion.ItemIndex";

// A run of the description text; `Highlighted` runs are bold orange
// (kAutorunHighlightColour, 0xRRGGBB).
struct TAutorunTextRun {
  std::string Text;
  bool Highlighted = false;
};
inline constexpr unsigned kAutorunHighlightColour = 0xF97600;
// The description right of the groups; "\n" breaks a line.
const std::vector<TAutorunTextRun>& AutorunDescription();

class TAutorunView {
 public:
  virtual ~TAutorunView() = default;
  // Checks the radio button of that item index in its group.
  virtual void ShowTasks(int itemIndex) = 0;
  virtual void ShowOnCompletion(int itemIndex) = 0;
  virtual void CloseWindow() = 0;
};

class TAutorunPresenter {
 public:
  // Everything must outlive the presenter. `runMode` is the process-wide
  // RunMode; `settings` is the window's file in the run's settings store.
  TAutorunPresenter(TAutorunView& view, std::string& runMode, TSettingsFile& settings);

  // At creation: the file's choices over the defaults (the first item of
  // each group), shown. An index the groups do not have counts as missing.
  void Created();
  void TasksClicked(int itemIndex);
  void OnCompletionClicked(int itemIndex);
  // Clears RunMode: no automatic run follows.
  void BackClicked();
  // RunMode := "Autorun": the launcher runs the chain once the window closed.
  void RunClicked();
  // Closed by the title bar: RunMode stays as it was.
  void CloseRequested();

  const TAutorunChoice& Choice() const { return choice_; }
  // The two item indexes into the settings file; at each closing and at the
  // program's end.
  void StoreSettings();

 private:
  void Close();

  TAutorunView& view_;
  std::string& runMode_;
  TSettingsFile& settings_;
  TAutorunChoice choice_;
};

}  // namespace tidewell
