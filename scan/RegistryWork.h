// The scan engine: one object per scan and the cleanup that follows it. It runs
// the chosen checks on a worker thread of its own, collects every problem as a
// TRegistryError, and afterwards, on the thread of whoever asks, records the
// selected problems in the undo file and deletes them.
//
// Threads: OnAddError, OnShowStatus, OnShowProgress and OnScanFinished are
// raised on the scan thread and the scan waits for each receiver. OnTerminate
// is handed to the owner's thread through the dispatcher after the scan has
// ended. CreateUndoFile and FixErrors raise their events on the calling
// thread. The owner reads the fields only from the receivers, after WaitFor, or
// after OnTerminate; it calls CreateUndoFile and FixErrors only once the checks
// have ended. There are no locks beyond the stop flag.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "registry/Registry.h"
#include "registry/RegistryStore.h"
#include "registry/RegistryTypes.h"
#include "scan/KeyTestCache.h"
#include "scan/ScanChecks.h"
#include "scan/SharedKeyReads.h"
#include "scan/TestedList.h"
#include "scan/ThreadDispatcher.h"
#include "undo/UndoRecorder.h"

namespace tidewell {

// One problem found by the scan.
struct TRegistryError {
  // The cleanup window's row showing this record; the engine never touches it.
  void* ListItem = nullptr;
  // When not empty, fixing writes it as the string value ValueName instead of
  // deleting anything.
  std::string Replacement;
  std::string Description;
  // Below RootKey; may carry a leading or a trailing backslash.
  std::string KeyPath;
  // Empty: the problem is the whole key, and fixing deletes the key tree.
  std::string ValueName;
  bool Selected = false;
  TRootKey RootKey = TRootKey::LocalMachine;
  std::string ValueData;
  // What the scan tested to decide it, in order ("file C:\x\y.dll: missing",
  // "key HKEY_CLASSES_ROOT\CLSID\{...}: missing"); empty unless the engine
  // was asked to explain its problems.
  std::vector<std::string> Tested;
};

// The records in the order found. The engine owns them; a record keeps its
// address for the engine's life, so a window row may point at it. The text
// under which each is listed is its Description.
using TRegistryErrorList = std::vector<std::unique_ptr<TRegistryError>>;

// Which checks Execute runs (TRegistryCheckThread::Categories).
constexpr std::uint16_t cfSharedDlls = 1;
// Set by the settings window, but selects no check: the file-extension check
// belongs to cfClassesSection.
constexpr std::uint16_t cfFileAssociations = 2;
constexpr std::uint16_t cfStartupRun = 4;
constexpr std::uint16_t cfAppPaths = 8;
constexpr std::uint16_t cfHelp = 16;
constexpr std::uint16_t cfFonts = 32;
constexpr std::uint16_t cfSounds = 64;
constexpr std::uint16_t cfClassesSection = 128;
constexpr std::uint16_t cfFileList = 256;

class TRegistryCheckThread;
using TEngineEvent = std::function<void(TRegistryCheckThread& sender)>;

class TRegistryCheckThread {
 public:
  // Create: a suspended engine. Registry at HKEY_LOCAL_MACHINE, Errors empty,
  // Categories 127, no receivers. `checks` are the checks Execute runs (empty
  // slots run nothing); `undoRecorder` is what CreateUndoFile writes to (none:
  // CreateUndoFile fails). The store, the dispatcher and the recorder must
  // outlive the engine.
  TRegistryCheckThread(RegistryStore& store, TThreadDispatcher& dispatcher,
                       TUndoRecorder* undoRecorder, TScanChecks checks = {});
  // Stops a scan that still runs and waits for it (see WaitFor), then frees
  // the records and the registry object.
  ~TRegistryCheckThread();
  TRegistryCheckThread(const TRegistryCheckThread&) = delete;
  TRegistryCheckThread& operator=(const TRegistryCheckThread&) = delete;

  // Lets the scan thread run Execute; once per engine (a second call throws
  // std::logic_error). Execute is skipped when Terminate came first.
  void Start();
  // Sets the stop flag, which Execute and every check poll; never cleared.
  void Terminate();
  bool Terminated() const;
  // Blocks until the scan thread has ended and its OnTerminate was delivered.
  // On the dispatcher's owner thread it carries out posted work while it
  // waits, so receivers that hand work to that thread do not dead-lock.
  // Returns at once when Start was never called or the wait is over. Called on
  // the scan thread itself it throws std::logic_error.
  void WaitFor();
  // The failure that ended the scan (thrown by a check or by the
  // OnScanFinished receiver), or none. Read it after WaitFor or in
  // OnTerminate.
  std::exception_ptr FatalException() const { return fatalException_; }

  // Appends a record and raises OnAddError. For the checks.
  void AddRegistryError(TRootKey rootKey, const std::string& keyPath,
                        const std::string& valueName,
                        const std::string& valueData,
                        const std::string& description);
  void AddRegistryErrorEx(TRootKey rootKey, const std::string& keyPath,
                          const std::string& valueName,
                          const std::string& valueData,
                          const std::string& replacement,
                          const std::string& description);
  // For the checks, before each test that may lead to a problem: a fresh
  // list for the routines to record what they test in, or null when nobody
  // asked for explanations (ExplainProblems). The next record added takes
  // what the list holds then.
  TTestedList* StartTests();
  // The list StartTests gave (null when not explaining), for a check that
  // goes on recording into it.
  TTestedList* Tests();

  // The newest record, or null when Errors is empty.
  TRegistryError* LastError() const;

  // StatusText = text, then OnShowStatus.
  void ShowStatus(const std::string& text);
  // ProgressMax = max, ProgressPosition = position, then OnShowProgress.
  void ShowProgress(std::int32_t max, std::int32_t position);

  // The root's name ("" for an unknown root), a backslash and KeyPath; a
  // KeyPath that starts with a backslash gives no second one.
  static std::string RegistryErrorKeyText(const TRegistryError& record);

  // Records every selected record in the undo file, then flushes the file.
  // A record the recorder could not record in full loses its Selected mark so
  // that FixErrors leaves it alone. False on any failure (no recorder, the
  // file cannot be written, a receiver failing); the caller then must not
  // call FixErrors.
  bool CreateUndoFile();
  // Deletes what each selected record names (or writes its Replacement).
  // A record counts as fixed only when what it names is gone afterwards.
  void FixErrors();
  // Deletes the key tree Path below Root, counting every value and key
  // removed into DeletedCount. A path naming the root itself deletes nothing.
  void DeleteKeyTree(TRootKey root, const std::string& path);

  std::int32_t FixedCount = 0;
  std::int32_t DeletedCount = 0;
  std::uint16_t Categories = 127;
  // Set by the owner before Start: every record gets its Tested lines.
  bool ExplainProblems = false;
  TRegistryError* CurrentError = nullptr;
  std::int32_t ProgressMax = 0;
  std::int32_t ProgressPosition = 0;
  TRegistry Registry;
  // The class checks' key tests, remembered for the length of a scan.
  TKeyTestCache KeyTests;
  // What the class checks read of the machine's classes, kept for the file
  // list for the length of a scan.
  TSharedKeyReads SharedKeys;
  TRegistryErrorList Errors;
  std::string StatusText;
  TEngineEvent OnClearFinished;
  TEngineEvent OnFixError;
  TEngineEvent OnShowProgress;
  TEngineEvent OnAddError;
  TEngineEvent OnScanFinished;
  TEngineEvent OnShowStatus;
  TEngineEvent OnTerminate;

 private:
  // The scan thread's whole life: Execute unless stopped first, then the
  // OnTerminate hand-off.
  void ThreadMain();
  // Runs the chosen categories in their fixed order, writes the summary and
  // raises OnScanFinished, also after a failure.
  void Execute();
  void RunCategories();
  // The flag is set and no stop was asked for.
  bool Wants(std::uint16_t flag) const;
  void RunClassCheck(const TClassCheck& check, const std::string& basePath);
  void RunSoftwareCheck(const TSoftwareCheck& check);
  // Fixes one selected record; true when what it names is gone (or replaced).
  bool FixRecord(TRegistryError& record);
  void Raise(const TEngineEvent& event);

  TThreadDispatcher& dispatcher_;
  TUndoRecorder* const undoRecorder_;
  const TScanChecks checks_;
  std::atomic<bool> terminated_{false};
  // Set on the owner thread once OnTerminate was delivered.
  std::atomic<bool> terminateDelivered_{false};
  bool started_ = false;
  std::exception_ptr fatalException_;
  // What the current examination has tested so far; used on the scan thread
  // only.
  TTestedList tested_;
  std::thread thread_;
};

}  // namespace tidewell
