// The logic of the registry cleanup window, the main road of the program: it
// owns the scan engine of the latest scan, shows each problem the engine
// reports as a row unless its key is excluded, ticks every row after the scan,
// and deletes the ticked (or the highlighted) ones, the undo step first. The
// Win32 window (TfrmRegistryCleanup) and the console's scan and clean commands
// are two views of it, so the road exists once.
//
// Threads. Every method below runs on the thread that owns the dispatcher
// (the user-interface thread). The engine's handlers run on the scan thread;
// each hands its work to the owner thread through the dispatcher and waits for
// it (Send), so the rows, the excluded list, Busy and every view call are only
// ever touched on the owner thread, and rows appear in the engine's order. In
// auto mode the deletion pass runs on the scan thread from inside
// ScanFinished, and the closing is posted to the owner thread, which never
// waits there for the scan thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"
#include "scan/RegistryWork.h"
#include "scan/ThreadDispatcher.h"
#include "ui/RegEditMissingText.h"

namespace tidewell {

inline constexpr const char* kReadyText = "Ready!";
inline constexpr const char* kWorkingText = "Working ...";
inline constexpr const char* kStoppedText = "Stopped!";
inline constexpr const char* kDeletedText = "Deleted!";
inline constexpr const char* kTotalPrefix = "Total: ";
inline constexpr const char* kUndoFailedText = "Can not save logfile.";
inline constexpr const char* kSelectFirstText = "Please select an entry first.";

// The status pane's icon: image 0 and image 1 of the shared image list.
enum class TStatusIcon { Working = 0, Idle = 1 };
enum class TCleanupButton { Run, Back, Delete, Tick };
// The parts of the status bar that are shown only while work runs.
enum class TCleanupPane { Total, StatusLine, Progress };
enum class TMessageKind { Error, Information };

class TRegistryCleanupView {
 public:
  virtual ~TRegistryCleanupView() = default;
  // Rows, in the presenter's order; a new row is not ticked.
  virtual void AddRow(const std::string& key, const std::string& value,
                      const std::string& description) = 0;
  virtual void RemoveRow(int index) = 0;
  virtual void ClearRows() = 0;
  virtual void ShowRowTick(int index, bool ticked) = 0;

  virtual void ShowStatus(TStatusIcon icon, const std::string& text) = 0;
  virtual void ShowTotal(const std::string& text) = 0;
  // The engine's status line (`lblRegKey`).
  virtual void ShowStatusLine(const std::string& text) = 0;
  virtual void ShowProgress(std::int32_t max, std::int32_t position) = 0;
  virtual void SetPaneVisible(TCleanupPane pane, bool visible) = 0;
  virtual void SetButtonEnabled(TCleanupButton button, bool enabled) = 0;
  // `btnRun` as "Stop" with the stop image, or as "Run" with the run image.
  virtual void ShowRunAsStop(bool stop) = 0;

  // A message box with one OK button; returns once it is dismissed.
  virtual void ShowMessage(TMessageKind kind, const std::string& text) = 0;
  // Brings the registry editor to the key and value (both trimmed and in
  // lower case); false when no editor window could be found or started.
  virtual bool OpenRegistryEditor(const std::string& key, const std::string& value) = 0;

  // The one-shot timer `tmrAfterShow` (1000 ms).
  virtual void StartAfterShowTimer() = 0;
  virtual void StopAfterShowTimer() = 0;
  virtual bool IsVisible() = 0;
  // Ends the modal showing; its settings are stored by the window.
  virtual void CloseWindow() = 0;
};

struct TRegistryCleanupOptions {
  // The pause at the end of each scan, so that the last status stays
  // readable; carried out on the scan thread in ten steps.
  int FinishPauseMilliseconds = 2500;
  // Every record carries what the scan tested to decide it.
  bool ExplainProblems = false;
};

class TRegistryCleanupPresenter {
 public:
  // A new, suspended engine for each scan; its dispatcher must be the
  // presenter's.
  using TEngineFactory = std::function<std::unique_ptr<TRegistryCheckThread>()>;

  // Everything must outlive the presenter. `categories` is asked when a scan
  // starts (the settings window's boxes); `runMode` is the process-wide
  // RunMode; `excludedKeysPath` names ExcludedKeys.txt.
  TRegistryCleanupPresenter(TRegistryCleanupView& view, TThreadDispatcher& dispatcher,
                            TEngineFactory newEngine,
                            std::function<std::uint16_t()> categories,
                            const std::string& runMode, TFileSystem& fileSystem,
                            TAnsiCodePage& codePage, std::string excludedKeysPath,
                            TRegistryCleanupOptions options = {});
  // Stops a scan that still runs and waits for it.
  ~TRegistryCleanupPresenter();
  TRegistryCleanupPresenter(const TRegistryCleanupPresenter&) = delete;
  TRegistryCleanupPresenter& operator=(const TRegistryCleanupPresenter&) = delete;

  // The window was shown: Ready, the excluded list read from its file, the
  // timer started in auto mode. False when the list could not be read (the
  // reason was shown; the list starts empty and the file is left alone).
  bool Shown();
  void AfterShowTimer();
  void RunStopClicked();
  void DeleteClicked();
  void DeleteSelectedClicked();
  void TickAllClicked();
  void TickNoneClicked();
  // From the view: a row's tick changed (by the user or by ShowRowTick).
  void RowTickChanged(int index, bool ticked);
  // From the view: the highlighted row, or -1.
  void RowSelected(int index);
  // View Selected, and a double-click on a row.
  void ViewSelectedClicked();
  void ExcludeSelectedClicked();
  // Back, the title bar and auto mode: stop a running scan, remove the rows,
  // write the excluded list back, close.
  void CloseRequested();

  // Why the row's problem was reported: what the scan tested, one line each;
  // empty when the scan was not asked to explain its problems.
  std::string WhyFlagged(int index) const;

  // Whether the context menu offers "View Selected" and "Delete Selected".
  bool RowActionsAvailable() const;
  bool Busy() const { return busy_; }
  // Blocks until the scan thread has ended and its last hand-offs were
  // carried out (the console waits here).
  void WaitForScan();
  // In auto mode: the undo step failed or the excluded list could not be
  // read, so nothing (more) was deleted.
  bool AutoRunFailed() const { return autoRunFailed_; }

  // The shown rows' records, in row order, and their ticks.
  std::vector<TRegistryError*> RowRecords() const;
  std::vector<bool> RowTicks() const;
  // The engine of the latest scan, or null before the first.
  TRegistryCheckThread* Engine() const { return engine_.get(); }

 private:
  struct TRow {
    TRegistryError* Record;
    bool Ticked;
  };

  bool AutoMode() const;
  void Run();
  void ScanAuto();
  void Stop();
  void ChangeStatus(TStatusIcon icon, const std::string& text);
  void ControlsVisible(bool enabled);
  void TickAll(bool ticked);
  void UpdateDeleteEnabled();
  void RemoveRow(std::size_t index);
  void ShowRemainingCount();
  // The undo step and, when it succeeded, the fixing pass; on the thread that
  // asks. `chosen` are the records marked Selected.
  void CleanReg(TRegistryCheckThread& engine);
  void MarkSelected(bool byTick);
  void SaveExcludedList();
  // Carries out `work` on the owner thread and waits; a failure of the work
  // is swallowed, as the window's handlers swallow theirs.
  void OnOwner(const std::function<void()>& work);

  // The engine's receivers.
  void AddError(TRegistryCheckThread& engine);
  void ShowEngineProgress(TRegistryCheckThread& engine);
  void ShowEngineStatus(TRegistryCheckThread& engine);
  // The engine's latest status line and progress, waiting to be drawn.
  struct TLatestProgress {
    std::int32_t Max = 0;
    std::int32_t Position = 0;
    std::string Status;
    bool NewProgress = false;
    bool NewStatus = false;
    bool Queued = false;  // a hand-off to draw them is on its way
    std::chrono::steady_clock::time_point LastQueued;
  };
  void QueueLatest(const std::function<void(TLatestProgress&)>& update);
  // Draws what is new; `queuedDrawing` when it is the queued hand-off, which
  // lets the next one be queued.
  void DrawLatest(bool queuedDrawing);
  void ScanFinished(TRegistryCheckThread& engine);
  void EngineTerminated();
  void FixError(TRegistryCheckThread& engine);
  void ClearFinished();

  TRegistryCleanupView& view_;
  TThreadDispatcher& dispatcher_;
  const TEngineFactory newEngine_;
  const std::function<std::uint16_t()> categories_;
  const std::string& runMode_;
  TFileSystem& fileSystem_;
  TAnsiCodePage& codePage_;
  const std::string excludedKeysPath_;
  const TRegistryCleanupOptions options_;

  std::unique_ptr<TRegistryCheckThread> engine_;
  std::mutex latestMutex_;
  TLatestProgress latest_;
  // Lets a queued drawing that outlives this presenter do nothing.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  bool busy_ = false;
  bool stoppedByUser_ = false;
  bool shown_ = false;
  bool autoRunFailed_ = false;
  std::vector<TRow> rows_;
  int tickedCount_ = 0;
  int selected_ = -1;
  // The file's lines as read at showing, plus what Exclude Selected added.
  std::vector<std::string> excluded_;
  // What Exclude Selected added during this showing.
  std::vector<std::string> addedExcluded_;
  bool excludedListRead_ = false;
};

}  // namespace tidewell
