// The compaction window's behaviour without its Win32 controls: the status
// texts, Run and Back, the progress bar, the restart question that ends a run
// and the window's auto mode (start one timer period after it is shown, ask
// nothing, close when done).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/RegistryBackupPresenter.h"
#include "tools/RegistryDefrag.h"

namespace tidewell {

class TRegistryDefragView {
 public:
  virtual ~TRegistryDefragView() = default;
  // The status pane: its picture (an index of the shared image list) and text.
  virtual void ChangeStatus(int image, const std::string& text) = 0;
  virtual void SetProgress(int value) = 0;
  virtual void ShowProgress(bool shown) = 0;
  virtual void SetRunEnabled(bool enabled) = 0;
  virtual void SetBackEnabled(bool enabled) = 0;
  // A plain message box with an OK button; returns once it is dismissed.
  virtual void ShowMessage(const std::string& text) = 0;
  // The restart question: a message box owned by the window, on top, with a
  // question icon and Yes and No. True for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // The one-shot timer `tmrAfterShow` (1000 ms).
  virtual void StartAfterShowTimer() = 0;
  virtual void StopAfterShowTimer() = 0;
  virtual bool IsVisible() = 0;
  // Ends the modal showing.
  virtual void Close() = 0;
};

inline constexpr int kStatusImageWorking = 0;
inline constexpr int kStatusImageIdle = 1;
inline constexpr int kDefragProgressMax = 10;

inline constexpr const char* kDefragWorkingText = "Working ...";
inline constexpr const char* kDefragNoAccessText =
    "You must have administrative access for Windows Registry defragmentation.";
inline constexpr const char* kDefragRestartQuestion =
    "Defragmentation of Windows Registry is finished. \r\nDo you want reboot your system now?";
inline constexpr const char* kDefragPendingText =
    "The last defragmentation waits for a restart: restart the computer first.";

// The four paragraphs, one vector of runs each ("Run" in bold orange).
std::vector<std::vector<TTextRun>> RegistryDefragInstructions();

// "Current registry size: " + whole kilobytes + " KB".
std::string CurrentSizeText(std::uint64_t oldSize);
// new / old x 100 with one decimal at most and no leading zero below 1
// ("85.3", ".5", "120"), written with `decimalSeparator`; "n/a" when the old
// size is 0.
std::string RatioText(std::uint64_t newSize, std::uint64_t oldSize,
                      const std::string& decimalSeparator);
// "Done! Ratio: " + RatioText + " %" (or "Done! Ratio: n/a"), then the hives
// that were refused, if any.
std::string DoneText(std::uint64_t newSize, std::uint64_t oldSize,
                     const std::string& decimalSeparator,
                     const std::vector<std::string>& refused);

class TRegistryDefragPresenter {
 public:
  // Everything must outlive the presenter. `restart` is the program's forced
  // restart (ExitWin); `autoMode` and `decimalSeparator` are asked at each use.
  TRegistryDefragPresenter(TRegistryDefragView& view, TRegistryDefrag& defrag,
                           std::function<void()> restart, std::function<bool()> autoMode,
                           std::function<std::string()> decimalSeparator);

  // The window has been shown.
  void Shown();
  // `tmrAfterShow` fired.
  void AfterShowTimer();
  void RunClicked();
  void BackClicked();

  // The last run of this showing scheduled nothing, or could not start: an
  // automatic run chain may ask before it restarts the computer.
  bool RunFailed() const { return failed_; }

 private:
  TRegistryDefragView& view_;
  TRegistryDefrag& defrag_;
  std::function<void()> restart_;
  std::function<bool()> autoMode_;
  std::function<std::string()> decimalSeparator_;
  bool runEnabled_ = true;
  bool failed_ = false;
};

}  // namespace tidewell
