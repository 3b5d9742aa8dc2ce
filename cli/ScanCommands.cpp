// scan and clean walk the cleanup window's own road: its presenter, with the
// console as its view - the categories from the settings window's check
// boxes, every problem recorded, the excluded ones not listed - followed for
// clean by the window's Delete: the undo step, and the fixing pass only when
// the undo step succeeded.
#include <algorithm>
#include <chrono>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "settings/CleanupSettingsStore.h"
#include "settings/ExcludedKeysFile.h"
#include "app/RegistryCleanupPresenter.h"
#include "cli/CategoryList.h"
#include "cli/CliProgram.h"
#include "cli/JsonText.h"
#include "scan/AllChecks.h"
#include "scan/FileReferences.h"
#include "scan/FolderSet.h"
#include "scan/QueueDispatcher.h"
#include "scan/RegistryWork.h"
#include "undo/UndoFolder.h"
#include "undo/Undos.h"

namespace tidewell {
namespace {

// One status line on the terminal, rewritten in place and at most ten times
// a second; nothing at all when standard error is not a terminal.
class TProgressLine {
 public:
  explicit TProgressLine(TCliSystem& system) : system_(system) {}
  ~TProgressLine() { Clear(); }
  TProgressLine(const TProgressLine&) = delete;
  TProgressLine& operator=(const TProgressLine&) = delete;

  void Show(const std::string& status, std::int32_t position, std::int32_t max) {
    if (!system_.ProgressOnTerminal) return;
    const auto now = std::chrono::steady_clock::now();
    if (shown_ && now - lastShown_ < std::chrono::milliseconds(100)) return;
    lastShown_ = now;
    std::string line = status;
    if (max > 0 && position >= 0 && position <= max) {
      line = std::to_string(position * 100 / max) + "% " + line;
    }
    constexpr std::size_t kWidth = 78;
    if (line.size() > kWidth) line = line.substr(0, kWidth - 3) + "...";
    line.resize(kWidth, ' ');
    system_.Err << '\r' << line;
    system_.Err.flush();
    shown_ = true;
  }
  void Clear() {
    if (!shown_) return;
    system_.Err << '\r' << std::string(78, ' ') << '\r';
    system_.Err.flush();
    shown_ = false;
  }

 private:
  TCliSystem& system_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point lastShown_;
};

// The cleanup window as the console sees it: the rows stay in the
// presenter, the status line and progress go to the terminal, and a message
// box becomes a message the command reports.
class TConsoleCleanupView final : public TRegistryCleanupView {
 public:
  explicit TConsoleCleanupView(TProgressLine& progress) : progress_(progress) {}

  void AddRow(const std::string&, const std::string&, const std::string&) override {}
  void RemoveRow(int) override {}
  void ClearRows() override {}
  void ShowRowTick(int, bool) override {}
  void ShowStatus(TStatusIcon, const std::string&) override {}
  void ShowTotal(const std::string&) override {}
  void ShowStatusLine(const std::string& text) override {
    status_ = text;
    progress_.Show(status_, position_, max_);
  }
  void ShowProgress(std::int32_t max, std::int32_t position) override {
    max_ = max;
    position_ = position;
    progress_.Show(status_, position_, max_);
  }
  void SetPaneVisible(TCleanupPane, bool) override {}
  void SetButtonEnabled(TCleanupButton, bool) override {}
  void ShowRunAsStop(bool) override {}
  void ShowMessage(TMessageKind kind, const std::string& text) override {
    if (kind == TMessageKind::Error) errors.push_back(text);
  }
  bool OpenRegistryEditor(const std::string&, const std::string&) override { return false; }
  void StartAfterShowTimer() override {}
  void StopAfterShowTimer() override {}
  bool IsVisible() override { return true; }
  void CloseWindow() override {}

  std::vector<std::string> errors;

 private:
  TProgressLine& progress_;
  std::string status_;
  std::int32_t max_ = 0;
  std::int32_t position_ = 0;
};

// What a scan needs besides the registry: the folders, file references and
// the checks, and the cleanup window's presenter that runs the engine on its
// own thread.
class TCliScan {
 public:
  TCliScan(TCliSystem& system, TUndoRecorder* recorder, std::uint16_t categories,
           bool explain)
      : folders_(BuildFolderSet(system.Environment, system.Store)),
        refs_(folders_, system.FileSystem, system.Environment, system.Store),
        progress_(system),
        view_(progress_),
        presenter_(
            view_, dispatcher_,
            [this, &system, recorder] {
              return std::make_unique<TRegistryCheckThread>(system.Store, dispatcher_, recorder,
                                                            MakeAllChecks(refs_));
            },
            [categories] { return categories; }, runMode_, system.FileSystem,
            system.CodePage, ExcludedKeysPath(system.ApplicationFolder),
            TRegistryCleanupOptions{0, explain}) {}

  // Runs the scan to its end; every row is ticked afterwards, as in the
  // window. False when the excluded list could not be read.
  bool Run() {
    if (!presenter_.Shown()) return false;
    presenter_.RunStopClicked();
    presenter_.WaitForScan();
    progress_.Clear();
    listed_ = presenter_.RowRecords();
    hidden_ = Engine().Errors.size() - listed_.size();
    return true;
  }

  // The window's Delete: the undo step, then the fixing pass. False when the
  // undo step failed and nothing was deleted.
  bool Delete() {
    view_.errors.clear();
    presenter_.DeleteClicked();
    progress_.Clear();
    return std::find(view_.errors.begin(), view_.errors.end(), kUndoFailedText) ==
           view_.errors.end();
  }

  // The failure that ended the scan early, as text; empty when it ran through.
  std::string FailureText() {
    const std::exception_ptr failure = Engine().FatalException();
    if (!failure) return "";
    try {
      std::rethrow_exception(failure);
    } catch (const std::exception& e) {
      return e.what();
    } catch (...) {
      return "unknown failure";
    }
  }

  TRegistryCheckThread& Engine() { return *presenter_.Engine(); }
  const std::vector<TRegistryError*>& Listed() const { return listed_; }
  std::size_t Hidden() const { return hidden_; }

 private:
  TQueueDispatcher dispatcher_;
  TFolderSet folders_;
  TFileReferences refs_;
  TProgressLine progress_;
  TConsoleCleanupView view_;
  std::string runMode_;
  TRegistryCleanupPresenter presenter_;
  std::vector<TRegistryError*> listed_;
  std::size_t hidden_ = 0;
};

// The categories and the excluded list a scan runs with; false after
// reporting what is wrong.
bool PrepareScan(const TCliRequest& request, TCliSystem& system,
                 std::uint16_t& categories, std::vector<std::string>& excluded,
                 int& status) {
  std::string error;
  if (request.Categories) {
    categories = *request.Categories;
  } else {
    TSettingsFile settings = MakeCleanupSettingsStore();
    const std::string path = settings.FileName(system.ApplicationFolder);
    TCleanupChecks checks;
    if (!settings.LoadFromFile(system.FileSystem, system.CodePage, path, error)) {
      status = CliError(system, error);
      return false;
    }
    if (!ReadCleanupChecks(settings, checks, error)) {
      status = CliError(system, path + ": " + error);
      return false;
    }
    categories = CategoriesOf(checks);
  }
  if (!LoadExcludedKeys(system.FileSystem, system.CodePage,
                        ExcludedKeysPath(system.ApplicationFolder), excluded, error)) {
    status = CliError(system, error);
    return false;
  }
  return true;
}

void PrintText(const TCliScan& scan, const std::string& statusText,
               bool explain, std::ostream& out) {
  int number = 0;
  for (const TRegistryError* record : scan.Listed()) {
    out << ++number << ". " << record->Description << "\n"
        << "   key:   " << TRegistryCheckThread::RegistryErrorKeyText(*record) << "\n"
        << "   value: " << (record->ValueName.empty() ? "(the whole key)" : record->ValueName)
        << "\n";
    if (!record->ValueData.empty()) out << "   data:  " << record->ValueData << "\n";
    if (explain) {
      const char* label = "   tested: ";
      for (const std::string& line : record->Tested) {
        out << label << line << "\n";
        label = "           ";
      }
    }
  }
  out << statusText;
  if (scan.Hidden() > 0) {
    out << " (" << scan.Hidden() << " not listed: excluded by " << kExcludedKeysFileName
        << ")";
  }
  out << "\n";
}

void PrintJson(const TCliScan& scan, const std::string& statusText,
               std::ostream& out) {
  out << "{\"status\": " << JsonString(statusText)
      << ", \"total\": " << scan.Listed().size() + scan.Hidden()
      << ", \"excluded\": " << scan.Hidden() << ", \"problems\": [";
  const char* separator = "\n  ";
  for (const TRegistryError* record : scan.Listed()) {
    out << separator << "{\"root\": " << JsonString(RootKeyName(record->RootKey))
        << ", \"keyPath\": " << JsonString(record->KeyPath)
        << ", \"valueName\": " << JsonString(record->ValueName)
        << ", \"valueData\": " << JsonString(record->ValueData)
        << ", \"description\": " << JsonString(record->Description)
        << ", \"keyText\": "
        << JsonString(TRegistryCheckThread::RegistryErrorKeyText(*record))
        << ", \"tested\": [";
    const char* lineSeparator = "";
    for (const std::string& line : record->Tested) {
      out << lineSeparator << JsonString(line);
      lineSeparator = ", ";
    }
    out << "]}";
    separator = ",\n  ";
  }
  out << (scan.Listed().empty() ? "]}\n" : "\n]}\n");
}

bool Confirmed(TCliSystem& system, std::size_t count) {
  system.Err << "Delete " << count
             << " registry entries? An undo file is written first. [y/N] ";
  system.Err.flush();
  const std::string answer = system.ReadAnswer ? system.ReadAnswer() : "";
  return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes" ||
         answer == "YES";
}

}  // namespace

// The scan itself; false after reporting why it could not run.
bool RunScan(TCliScan& scan, TCliSystem& system, int& status) {
  if (scan.Run()) return true;
  // The list was readable a moment ago; say what changed.
  std::vector<std::string> excluded;
  std::string error = "cannot be read";
  LoadExcludedKeys(system.FileSystem, system.CodePage, ExcludedKeysPath(system.ApplicationFolder),
                   excluded, error);
  status = CliError(system, error);
  return false;
}

int RunScanCommand(const TCliRequest& request, TCliSystem& system) {
  std::uint16_t categories = 0;
  std::vector<std::string> excluded;
  int status = kExitDone;
  if (!PrepareScan(request, system, categories, excluded, status)) return status;

  TCliScan scan(system, nullptr, categories, request.Json || request.Explain);
  if (!RunScan(scan, system, status)) return status;
  const std::string statusText = scan.Engine().StatusText;
  if (request.Json) {
    PrintJson(scan, statusText, system.Out);
  } else {
    PrintText(scan, statusText, request.Explain, system.Out);
  }
  system.Out.flush();
  const std::string failure = scan.FailureText();
  if (!failure.empty()) return CliError(system, "the scan ended early: " + failure);
  return scan.Listed().empty() ? kExitDone : kExitProblemsListed;
}

int RunCleanCommand(const TCliRequest& request, TCliSystem& system) {
  if (!request.Yes && !system.InputIsTerminal) {
    return CliError(system, "clean: no terminal to ask on; add --yes to delete without asking");
  }
  std::uint16_t categories = 0;
  std::vector<std::string> excluded;
  int status = kExitDone;
  if (!PrepareScan(request, system, categories, excluded, status)) return status;

  // The writer outlives the engine that records into it.
  TRegUndoFile undoFile(system.Store, system.FileSystem, system.Clock,
                        system.CodePage, system.ApplicationFolder,
                        system.ProductName);
  TCliScan scan(system, &undoFile, categories, request.Explain);
  if (!RunScan(scan, system, status)) return status;
  PrintText(scan, scan.Engine().StatusText, request.Explain, system.Out);
  system.Out.flush();
  const std::string failure = scan.FailureText();
  if (!failure.empty()) {
    return CliError(system, "the scan ended early, nothing was deleted: " + failure);
  }
  if (scan.Listed().empty()) {
    system.Out << "Nothing to delete.\n";
    return kExitDone;
  }
  if (!request.Yes && !Confirmed(system, scan.Listed().size())) {
    system.Out << "Nothing was deleted.\n";
    return kExitDone;
  }

  if (!scan.Delete()) {
    system.Err << kUndoFailedText << "\n";
    system.Err << "tidewell-cli: the undo file could not be written in "
               << UndoFolderOf(system.ApplicationFolder) << "; nothing was deleted\n";
    system.Err.flush();
    return kExitUndoFailed;
  }
  system.Out << "Undo file: "
             << (undoFile.FileName().empty() ? "none (no entry could be recorded)"
                                             : undoFile.FileName())
             << "\n";
  // Every listed entry was chosen; what the undo file could not hold lost
  // its mark and was not deleted: say which.
  for (const TRegistryError* record : scan.Listed()) {
    if (record->Selected) continue;
    system.Out << "Kept (it cannot be recorded in the undo file): "
               << TRegistryCheckThread::RegistryErrorKeyText(*record)
               << (record->ValueName.empty() ? "" : " value " + record->ValueName) << "\n";
  }
  system.Out << scan.Engine().StatusText << "\n";
  system.Out.flush();
  return kExitDone;
}

}  // namespace tidewell
