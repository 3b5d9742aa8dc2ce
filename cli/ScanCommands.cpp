// scan and clean: the engine run the way the cleanup window runs it - the
// categories from the settings window's check boxes, every problem recorded,
// the excluded ones not listed - followed for clean by the window's Delete:
// the undo step, and the fixing pass only when the undo step succeeded.
#include <chrono>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "settings/CleanupSettingsStore.h"
#include "settings/ExcludedKeysFile.h"
#include "cli/CategoryList.h"
#include "cli/CliProgram.h"
#include "cli/JsonText.h"
#include "scan/AllChecks.h"
#include "scan/ExcludedKeys.h"
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

// What a scan needs besides the registry: the folders, file references and
// the checks, and the engine that runs them on its own thread.
class TCliScan {
 public:
  TCliScan(TCliSystem& system, TUndoRecorder* recorder)
      : folders_(BuildFolderSet(system.Environment, system.Store)),
        refs_(folders_, system.FileSystem, system.Environment, system.Store),
        engine_(system.Store, dispatcher_, recorder, MakeAllChecks(refs_)),
        progress_(system) {
    engine_.OnShowStatus = [this](TRegistryCheckThread& e) {
      progress_.Show(e.StatusText, e.ProgressPosition, e.ProgressMax);
    };
    engine_.OnShowProgress = engine_.OnShowStatus;
  }

  // Runs the scan to its end; every record not excluded is listed and
  // Selected, as the cleanup window ticks every row it shows.
  // `explain`: every record carries what was tested to decide it.
  void Run(std::uint16_t categories, const std::vector<std::string>& excluded,
           bool explain) {
    engine_.Categories = categories;
    engine_.ExplainProblems = explain;
    engine_.Start();
    engine_.WaitFor();
    progress_.Clear();
    for (const auto& record : engine_.Errors) {
      record->Selected = !IsExcludedKey(
          excluded, TRegistryCheckThread::RegistryErrorKeyText(*record));
      if (record->Selected) {
        listed_.push_back(record.get());
      } else {
        ++hidden_;
      }
    }
  }

  // The failure that ended the scan early, as text; empty when it ran through.
  std::string FailureText() const {
    const std::exception_ptr failure = engine_.FatalException();
    if (!failure) return "";
    try {
      std::rethrow_exception(failure);
    } catch (const std::exception& e) {
      return e.what();
    } catch (...) {
      return "unknown failure";
    }
  }

  TRegistryCheckThread& Engine() { return engine_; }
  TProgressLine& Progress() { return progress_; }
  const std::vector<TRegistryError*>& Listed() const { return listed_; }
  std::size_t Hidden() const { return hidden_; }

 private:
  TQueueDispatcher dispatcher_;
  TFolderSet folders_;
  TFileReferences refs_;
  TRegistryCheckThread engine_;
  TProgressLine progress_;
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

int RunScanCommand(const TCliRequest& request, TCliSystem& system) {
  std::uint16_t categories = 0;
  std::vector<std::string> excluded;
  int status = kExitDone;
  if (!PrepareScan(request, system, categories, excluded, status)) return status;

  TCliScan scan(system, nullptr);
  scan.Run(categories, excluded, request.Json || request.Explain);
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
  TCliScan scan(system, &undoFile);
  scan.Run(categories, excluded, request.Explain);
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

  TRegistryCheckThread& engine = scan.Engine();
  std::vector<const TRegistryError*> chosen;
  for (const auto& record : engine.Errors) {
    if (record->Selected) chosen.push_back(record.get());
  }
  if (!engine.CreateUndoFile()) {
    scan.Progress().Clear();
    system.Err << "Can not save logfile.\n";
    system.Err << "tidewell-cli: the undo file could not be written in "
               << UndoFolderOf(system.ApplicationFolder) << "; nothing was deleted\n";
    system.Err.flush();
    return kExitUndoFailed;
  }
  scan.Progress().Clear();
  system.Out << "Undo file: "
             << (undoFile.FileName().empty() ? "none (no entry could be recorded)"
                                             : undoFile.FileName())
             << "\n";
  // What the undo file could not hold is not deleted; say which.
  for (const TRegistryError* record : chosen) {
    if (record->Selected) continue;
    system.Out << "Kept (it cannot be recorded in the undo file): "
               << TRegistryCheckThread::RegistryErrorKeyText(*record)
               << (record->ValueName.empty() ? "" : " value " + record->ValueName) << "\n";
  }
  system.Out.flush();
  engine.FixErrors();
  scan.Progress().Clear();
  system.Out << engine.StatusText << "\n";
  system.Out.flush();
  return kExitDone;
}

}  // namespace tidewell
