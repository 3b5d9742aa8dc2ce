#include "app/RegistryCleanupPresenter.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

#include "app/RunMode.h"
#include "platform/TextEncoding.h"
#include "platform/TextTrim.h"
#include "scan/ExcludedKeys.h"
#include "settings/ExcludedKeysFile.h"

namespace tidewell {

namespace {
// How often the scan's status line and progress are drawn at most.
constexpr std::chrono::milliseconds kDrawInterval{50};
}  // namespace

TRegistryCleanupPresenter::TRegistryCleanupPresenter(
    TRegistryCleanupView& view, TThreadDispatcher& dispatcher, TEngineFactory newEngine,
    std::function<std::uint16_t()> categories, const std::string& runMode,
    TFileSystem& fileSystem, TAnsiCodePage& codePage, std::string excludedKeysPath,
    TRegistryCleanupOptions options)
    : view_(view),
      dispatcher_(dispatcher),
      newEngine_(std::move(newEngine)),
      categories_(std::move(categories)),
      runMode_(runMode),
      fileSystem_(fileSystem),
      codePage_(codePage),
      excludedKeysPath_(std::move(excludedKeysPath)),
      options_(options) {}

TRegistryCleanupPresenter::~TRegistryCleanupPresenter() {
  // The engine's receivers point back here: it must end while this object
  // still stands.
  if (engine_) {
    engine_->Terminate();
    engine_->WaitFor();
  }
}

bool TRegistryCleanupPresenter::AutoMode() const { return runMode_ == kRunModeAutorun; }

bool TRegistryCleanupPresenter::Shown() {
  shown_ = true;
  autoRunFailed_ = false;
  ControlsVisible(true);
  view_.SetButtonEnabled(TCleanupButton::Delete, false);
  view_.SetButtonEnabled(TCleanupButton::Tick, false);

  excluded_.clear();
  addedExcluded_.clear();
  std::string error;
  excludedListRead_ = LoadExcludedKeys(fileSystem_, codePage_, excludedKeysPath_, excluded_, error);
  if (!excludedListRead_) {
    excluded_.clear();
    ChangeStatus(TStatusIcon::Idle, kReadyText);
    // Scanning on without the list would offer, and in auto mode delete,
    // entries the user asked never to touch.
    if (AutoMode()) {
      autoRunFailed_ = true;
      view_.ShowMessage(TMessageKind::Error,
                        std::string(kExcludedKeysFileName) +
                            " cannot be read, so the automatic cleanup did not run: " + error);
      CloseRequested();
    } else {
      view_.ShowMessage(TMessageKind::Error,
                        std::string(kExcludedKeysFileName) +
                            " cannot be read, so no key is excluded from the scan: " + error);
    }
    return false;
  }
  if (AutoMode()) view_.StartAfterShowTimer();
  ChangeStatus(TStatusIcon::Idle, kReadyText);
  return true;
}

void TRegistryCleanupPresenter::AfterShowTimer() {
  if (!view_.IsVisible()) return;
  view_.StopAfterShowTimer();
  RunStopClicked();
}

void TRegistryCleanupPresenter::RunStopClicked() {
  if (engine_ && busy_) {
    Stop();
  } else {
    Run();
  }
}

void TRegistryCleanupPresenter::Run() {
  ChangeStatus(TStatusIcon::Working, kWorkingText);
  ControlsVisible(false);
  view_.ClearRows();
  rows_.clear();
  tickedCount_ = 0;
  selected_ = -1;
  view_.ShowTotal(std::string(kTotalPrefix) + "0");
  view_.ShowRunAsStop(true);
  view_.SetButtonEnabled(TCleanupButton::Run, true);
  ScanAuto();
}

void TRegistryCleanupPresenter::ScanAuto() {
  busy_ = true;
  stoppedByUser_ = false;
  if (engine_) {
    engine_->WaitFor();
    engine_.reset();
  }
  engine_ = newEngine_();
  engine_->OnAddError = [this](TRegistryCheckThread& e) { AddError(e); };
  engine_->OnShowProgress = [this](TRegistryCheckThread& e) { ShowEngineProgress(e); };
  engine_->OnShowStatus = [this](TRegistryCheckThread& e) { ShowEngineStatus(e); };
  engine_->OnScanFinished = [this](TRegistryCheckThread& e) { ScanFinished(e); };
  engine_->OnTerminate = [this](TRegistryCheckThread&) { EngineTerminated(); };
  engine_->OnFixError = [this](TRegistryCheckThread& e) { FixError(e); };
  engine_->OnClearFinished = [this](TRegistryCheckThread&) { ClearFinished(); };
  engine_->Categories = categories_();
  engine_->ExplainProblems = options_.ExplainProblems;
  engine_->Start();
}

void TRegistryCleanupPresenter::Stop() {
  stoppedByUser_ = true;
  engine_->Terminate();
  // Carries out the ending scan's ScanFinished and OnTerminate meanwhile.
  engine_->WaitFor();
  view_.ShowRunAsStop(false);
  ControlsVisible(true);
  if (!rows_.empty()) {
    TickAll(true);
  } else {
    view_.SetButtonEnabled(TCleanupButton::Delete, false);
    view_.SetButtonEnabled(TCleanupButton::Tick, false);
  }
}

void TRegistryCleanupPresenter::WaitForScan() {
  if (engine_) engine_->WaitFor();
}

void TRegistryCleanupPresenter::ChangeStatus(TStatusIcon icon, const std::string& text) {
  view_.ShowStatus(icon, text);
}

void TRegistryCleanupPresenter::ControlsVisible(bool enabled) {
  for (TCleanupButton button : {TCleanupButton::Run, TCleanupButton::Back,
                                TCleanupButton::Delete, TCleanupButton::Tick}) {
    view_.SetButtonEnabled(button, enabled);
  }
  for (TCleanupPane pane :
       {TCleanupPane::Total, TCleanupPane::StatusLine, TCleanupPane::Progress}) {
    view_.SetPaneVisible(pane, !enabled);
  }
}

void TRegistryCleanupPresenter::TickAll(bool ticked) {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    rows_[i].Ticked = ticked;
    view_.ShowRowTick(static_cast<int>(i), ticked);
  }
  tickedCount_ = ticked ? static_cast<int>(rows_.size()) : 0;
  UpdateDeleteEnabled();
}

void TRegistryCleanupPresenter::UpdateDeleteEnabled() {
  view_.SetButtonEnabled(TCleanupButton::Delete, tickedCount_ > 0);
}

void TRegistryCleanupPresenter::TickAllClicked() { TickAll(true); }

void TRegistryCleanupPresenter::TickNoneClicked() { TickAll(false); }

void TRegistryCleanupPresenter::RowTickChanged(int index, bool ticked) {
  if (index < 0 || static_cast<std::size_t>(index) >= rows_.size()) return;
  TRow& row = rows_[static_cast<std::size_t>(index)];
  if (row.Ticked == ticked) return;
  row.Ticked = ticked;
  tickedCount_ += ticked ? 1 : -1;
  UpdateDeleteEnabled();
}

void TRegistryCleanupPresenter::RowSelected(int index) {
  selected_ = (index >= 0 && static_cast<std::size_t>(index) < rows_.size()) ? index : -1;
}

bool TRegistryCleanupPresenter::RowActionsAvailable() const {
  return !rows_.empty() && !busy_;
}

void TRegistryCleanupPresenter::MarkSelected(bool byTick) {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    rows_[i].Record->Selected =
        byTick ? rows_[i].Ticked : static_cast<int>(i) == selected_;
  }
}

void TRegistryCleanupPresenter::DeleteClicked() {
  if (!engine_) return;
  MarkSelected(true);
  CleanReg(*engine_);
}

void TRegistryCleanupPresenter::DeleteSelectedClicked() {
  if (!engine_) return;
  MarkSelected(false);
  CleanReg(*engine_);
}

void TRegistryCleanupPresenter::CleanReg(TRegistryCheckThread& engine) {
  std::vector<TRegistryError*> chosen;
  OnOwner([&] {
    busy_ = true;
    for (const TRow& row : rows_) {
      if (row.Record->Selected) chosen.push_back(row.Record);
    }
  });
  bool recorded = false;
  try {
    recorded = engine.CreateUndoFile();
    if (recorded) engine.FixErrors();
  } catch (...) {
    // A failure inside the pass ends it; what was recorded stays recorded.
  }
  OnOwner([&] {
    busy_ = false;
    if (!recorded) {
      if (AutoMode()) autoRunFailed_ = true;
      view_.ShowMessage(TMessageKind::Error, kUndoFailedText);
      return;
    }
    // The undo writer drops the Selected mark of what it cannot record in
    // full; such an entry was kept, and the user should know why it is still
    // listed.
    const auto kept = std::count_if(chosen.begin(), chosen.end(),
                                    [](const TRegistryError* r) { return !r->Selected; });
    if (kept > 0 && !AutoMode()) {
      view_.ShowMessage(TMessageKind::Information,
                        std::to_string(kept) +
                            " of the chosen entries were kept: their names cannot be "
                            "recorded in the undo file.");
    }
  });
}

void TRegistryCleanupPresenter::ViewSelectedClicked() {
  if (selected_ < 0) {
    view_.ShowMessage(TMessageKind::Error, kSelectFirstText);
    return;
  }
  try {
    const TRegistryError& record = *rows_[static_cast<std::size_t>(selected_)].Record;
    const std::string key = DowncaseUtf8(TrimText(TRegistryCheckThread::RegistryErrorKeyText(record)));
    if (key.empty()) return;
    if (!view_.OpenRegistryEditor(key, DowncaseUtf8(TrimText(record.ValueName)))) {
      view_.ShowMessage(TMessageKind::Error, kRegEditMissingText);
    }
  } catch (...) {
    // Driving another program's window may fail in many ways; none of them
    // concerns the list.
  }
}

void TRegistryCleanupPresenter::ExcludeSelectedClicked() {
  if (selected_ < 0) return;
  const std::size_t index = static_cast<std::size_t>(selected_);
  const std::string key = TRegistryCheckThread::RegistryErrorKeyText(*rows_[index].Record);
  excluded_.push_back(key);
  addedExcluded_.push_back(key);
  RemoveRow(index);
  ShowRemainingCount();
}

void TRegistryCleanupPresenter::RemoveRow(std::size_t index) {
  if (rows_[index].Ticked) --tickedCount_;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
  if (selected_ == static_cast<int>(index)) {
    selected_ = -1;
  } else if (selected_ > static_cast<int>(index)) {
    --selected_;
  }
  view_.RemoveRow(static_cast<int>(index));
}

void TRegistryCleanupPresenter::ShowRemainingCount() {
  view_.ShowTotal(std::to_string(rows_.size()));
}

void TRegistryCleanupPresenter::CloseRequested() {
  if (!shown_) return;
  if (engine_ && busy_) Stop();
  shown_ = false;
  view_.StopAfterShowTimer();
  view_.ClearRows();
  rows_.clear();
  tickedCount_ = 0;
  selected_ = -1;
  SaveExcludedList();
  excluded_.clear();
  view_.CloseWindow();
}

void TRegistryCleanupPresenter::SaveExcludedList() {
  // The file on disk, not the copy read at showing: the user may have edited
  // it meanwhile (the settings window invites that), and those lines must
  // survive. What this showing excluded is appended.
  std::vector<std::string> lines;
  std::string error;
  const bool read = LoadExcludedKeys(fileSystem_, codePage_, excludedKeysPath_, lines, error);
  if (read) {
    lines.insert(lines.end(), addedExcluded_.begin(), addedExcluded_.end());
    if (SaveExcludedKeys(fileSystem_, codePage_, excludedKeysPath_, lines, error)) {
      addedExcluded_.clear();
      return;
    }
  }
  // A file that cannot be read is never overwritten. Only lost exclusions
  // are worth a message; an unchanged list may fail to be written silently.
  if (!addedExcluded_.empty()) {
    view_.ShowMessage(TMessageKind::Error,
                      "The keys excluded now could not be added to " +
                          std::string(kExcludedKeysFileName) + ": " + error);
  }
  addedExcluded_.clear();
}

std::string TRegistryCleanupPresenter::WhyFlagged(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= rows_.size()) return "";
  std::string text;
  for (const std::string& line : rows_[static_cast<std::size_t>(index)].Record->Tested) {
    if (!text.empty()) text += "\r\n";
    text += line;
  }
  return text;
}

std::vector<TRegistryError*> TRegistryCleanupPresenter::RowRecords() const {
  std::vector<TRegistryError*> records;
  for (const TRow& row : rows_) records.push_back(row.Record);
  return records;
}

std::vector<bool> TRegistryCleanupPresenter::RowTicks() const {
  std::vector<bool> ticks;
  for (const TRow& row : rows_) ticks.push_back(row.Ticked);
  return ticks;
}

void TRegistryCleanupPresenter::OnOwner(const std::function<void()>& work) {
  try {
    dispatcher_.Send([this, &work] {
      try {
        // What the engine raised before this hand-off shows before it.
        DrawLatest(false);
        work();
      } catch (...) {
        // The window stays usable whatever a control refused.
      }
    });
  } catch (...) {
  }
}

void TRegistryCleanupPresenter::AddError(TRegistryCheckThread& engine) {
  OnOwner([&] {
    TRegistryError* record = engine.LastError();
    if (record == nullptr) return;
    const std::string key = TRegistryCheckThread::RegistryErrorKeyText(*record);
    if (!IsExcludedKey(excluded_, key)) {
      rows_.push_back({record, false});
      view_.AddRow(key, record->ValueData, record->Description);
    }
    view_.ShowTotal(kTotalPrefix + std::to_string(engine.Errors.size()));
  });
}

// Status and progress come once per key, hundreds of thousands of times in a
// full scan, and only the latest of each is worth drawing. Waiting for the
// user-interface thread at each of them made the hand-offs cost more than
// the scan itself, so the scan thread leaves the latest values here and at
// most one hand-off to draw them is queued at a time, and no sooner than
// kDrawInterval after the one before: more often than that nobody can read
// them, and under Wine every hand-off is a round trip through its server.
// Every other hand-off draws them first, so the status and progress drawn
// before a row, the end of the scan or the end of a deletion are never older
// than what the engine had raised by then. Between those, what the engine
// raised last waits for its next event when that comes sooner than the
// interval.
void TRegistryCleanupPresenter::ShowEngineProgress(TRegistryCheckThread& engine) {
  QueueLatest([&engine](TLatestProgress& latest) {
    latest.Max = engine.ProgressMax;
    latest.Position = engine.ProgressPosition;
    latest.NewProgress = true;
  });
}

void TRegistryCleanupPresenter::ShowEngineStatus(TRegistryCheckThread& engine) {
  QueueLatest([&engine](TLatestProgress& latest) {
    latest.Status = engine.StatusText;
    latest.NewStatus = true;
  });
}

void TRegistryCleanupPresenter::QueueLatest(
    const std::function<void(TLatestProgress&)>& update) {
  if (dispatcher_.IsOwnerThread()) {
    {
      std::lock_guard<std::mutex> lock(latestMutex_);
      update(latest_);
    }
    DrawLatest(false);
    return;
  }
  const auto now = std::chrono::steady_clock::now();
  bool queue = false;
  {
    std::lock_guard<std::mutex> lock(latestMutex_);
    update(latest_);
    queue = !latest_.Queued && now - latest_.LastQueued >= kDrawInterval;
    if (queue) {
      latest_.Queued = true;
      latest_.LastQueued = now;
    }
  }
  if (queue) {
    dispatcher_.Post([this, alive = std::weak_ptr<bool>(alive_)] {
      if (alive.lock()) DrawLatest(true);
    });
  }
}

void TRegistryCleanupPresenter::DrawLatest(bool queuedDrawing) {
  TLatestProgress latest;
  {
    std::lock_guard<std::mutex> lock(latestMutex_);
    latest = latest_;
    latest_.NewProgress = latest_.NewStatus = false;
    if (queuedDrawing) latest_.Queued = false;
  }
  try {
    if (latest.NewProgress) view_.ShowProgress(latest.Max, latest.Position);
    if (latest.NewStatus) view_.ShowStatusLine(latest.Status);
  } catch (...) {
    // The window stays usable whatever a control refused.
  }
}

void TRegistryCleanupPresenter::ScanFinished(TRegistryCheckThread& engine) {
  OnOwner([&] { busy_ = false; });
  for (int step = 0; step < 10; ++step) {
    std::this_thread::sleep_for(std::chrono::milliseconds(options_.FinishPauseMilliseconds / 10));
  }
  bool deleteNow = false;
  OnOwner([&] {
    ControlsVisible(true);
    view_.ShowRunAsStop(false);
    view_.SetPaneVisible(TCleanupPane::Total, true);
    ChangeStatus(TStatusIcon::Idle, kReadyText);
    if (rows_.empty()) {
      view_.SetButtonEnabled(TCleanupButton::Delete, false);
      view_.SetButtonEnabled(TCleanupButton::Tick, false);
      if (AutoMode()) dispatcher_.Post([this] { CloseRequested(); });
      return;
    }
    TickAll(true);
    view_.SetButtonEnabled(TCleanupButton::Delete, true);
    // A scan the user stopped (or ended by closing the window) is not
    // deleted on its own: the user has stepped in.
    if (AutoMode() && !stoppedByUser_) {
      MarkSelected(true);
      deleteNow = true;
    }
  });
  if (deleteNow) CleanReg(engine);
}

void TRegistryCleanupPresenter::EngineTerminated() {
  busy_ = false;
  try {
    if (stoppedByUser_) ChangeStatus(TStatusIcon::Idle, kStoppedText);
  } catch (...) {
  }
}

void TRegistryCleanupPresenter::FixError(TRegistryCheckThread& engine) {
  OnOwner([&] {
    const TRegistryError* fixed = engine.CurrentError;
    const auto row = std::find_if(rows_.begin(), rows_.end(),
                                  [fixed](const TRow& r) { return r.Record == fixed; });
    // An entry without a row (excluded meanwhile) leaves the list alone.
    if (row == rows_.end()) return;
    RemoveRow(static_cast<std::size_t>(row - rows_.begin()));
    ShowRemainingCount();
  });
}

void TRegistryCleanupPresenter::ClearFinished() {
  OnOwner([&] {
    view_.SetButtonEnabled(TCleanupButton::Run, true);
    view_.SetButtonEnabled(TCleanupButton::Back, true);
    view_.SetPaneVisible(TCleanupPane::StatusLine, false);
    view_.SetPaneVisible(TCleanupPane::Progress, false);
    busy_ = false;
    ChangeStatus(TStatusIcon::Idle, kDeletedText);
    if (AutoMode()) dispatcher_.Post([this] { CloseRequested(); });
  });
}

}  // namespace tidewell
