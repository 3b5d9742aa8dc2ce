// The registry backup window's behaviour without its Win32 controls: the
// instruction texts, the Run and Back actions, the states of the two buttons
// and the window's own auto mode (start one timer period after it is shown,
// no success message, close when done; failures are still shown).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/RegistryBackup.h"

namespace tidewell {

// What the presenter asks of the window.
class TRegistryBackupView {
 public:
  virtual ~TRegistryBackupView() = default;
  // "Back" and "Run" together.
  virtual void SetButtonsEnabled(bool enabled) = 0;
  // A plain message box with an OK button; returns once it is dismissed.
  virtual void ShowMessage(const std::string& text) = 0;
  // The one-shot timer `tmrAfterShow` (1000 ms).
  virtual void StartAfterShowTimer() = 0;
  virtual void StopAfterShowTimer() = 0;
  virtual bool IsVisible() = 0;
  // Ends the modal showing ("cancel").
  virtual void Close() = 0;
};

// A run of the instruction text with its looks.
struct TTextRun {
  enum class TStyle { Plain, RunWord, Folder };
  std::string Text;
  TStyle Style = TStyle::Plain;
};

inline constexpr const char* kBackupSucceededText =
    "Registry was successfully backed up to ";
inline constexpr const char* kBackupFailedText = "Error backing up the registry!";
inline constexpr int kAfterShowMilliseconds = 1000;
// #F97600 and #8080FF as 0xRRGGBB.
inline constexpr unsigned kRunWordColour = 0xF97600;
inline constexpr unsigned kFolderColour = 0x8080FF;

// The four paragraphs, one vector of runs each; `backupFolder` ends with a
// backslash.
std::vector<std::vector<TTextRun>> RegistryBackupInstructions(
    const std::string& backupFolder);

class TRegistryBackupPresenter {
 public:
  // `backUp` makes one backup; `autoMode` says whether the program is in its
  // automatic run. Both are asked at each use.
  TRegistryBackupPresenter(TRegistryBackupView& view,
                           std::function<TRegistryBackupResult()> backUp,
                           std::function<bool()> autoMode);

  // The window has been shown.
  void Shown();
  // `tmrAfterShow` fired.
  void AfterShowTimer();
  void RunClicked();
  void BackClicked();

  // Whether the backup of the latest showing failed; false when none was
  // tried. The automatic run asks it once the window has closed.
  bool LastRunFailed() const { return lastRunFailed_; }

 private:
  TRegistryBackupView& view_;
  std::function<TRegistryBackupResult()> backUp_;
  std::function<bool()> autoMode_;
  bool lastRunFailed_ = false;
};

}  // namespace tidewell
