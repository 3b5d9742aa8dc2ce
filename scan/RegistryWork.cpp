#include "scan/RegistryWork.h"

#include <stdexcept>
#include <utility>

namespace tidewell {

namespace {

// The engine whose scan runs on this thread, so WaitFor can refuse to wait for
// itself.
thread_local const TRegistryCheckThread* t_runningEngine = nullptr;

// A key path that names the root itself: empty or nothing but backslashes.
bool NamesRoot(const std::string& path) {
  return path.find_first_not_of('\\') == std::string::npos;
}

// Puts the registry object back to lazy writing however DeleteKeyTree ends.
class LazyWriteOff {
 public:
  explicit LazyWriteOff(TRegistry& registry) : registry_(registry) {
    registry_.SetLazyWrite(false);
  }
  ~LazyWriteOff() { registry_.SetLazyWrite(true); }
  LazyWriteOff(const LazyWriteOff&) = delete;
  LazyWriteOff& operator=(const LazyWriteOff&) = delete;

 private:
  TRegistry& registry_;
};

// Restores the registry object's access mask when FixErrors ends.
class SavedAccess {
 public:
  explicit SavedAccess(TRegistry& registry)
      : registry_(registry), saved_(registry.Access()) {}
  ~SavedAccess() { registry_.SetAccess(saved_); }
  SavedAccess(const SavedAccess&) = delete;
  SavedAccess& operator=(const SavedAccess&) = delete;

 private:
  TRegistry& registry_;
  const std::uint32_t saved_;
};

}  // namespace

TRegistryCheckThread::TRegistryCheckThread(RegistryStore& store,
                                           TThreadDispatcher& dispatcher,
                                           TUndoRecorder* undoRecorder,
                                           TScanChecks checks)
    : Registry(store),
      dispatcher_(dispatcher),
      undoRecorder_(undoRecorder),
      checks_(std::move(checks)) {
  Registry.SetRootKey(TRootKey::LocalMachine);
}

TRegistryCheckThread::~TRegistryCheckThread() {
  if (thread_.joinable()) {
    Terminate();
    WaitFor();
  }
}

void TRegistryCheckThread::Start() {
  if (started_) throw std::logic_error("The scan thread was already started");
  started_ = true;
  thread_ = std::thread([this] { ThreadMain(); });
}

void TRegistryCheckThread::Terminate() { terminated_ = true; }

bool TRegistryCheckThread::Terminated() const { return terminated_; }

void TRegistryCheckThread::WaitFor() {
  if (t_runningEngine == this) {
    throw std::logic_error("The scan thread cannot wait for itself");
  }
  if (!thread_.joinable()) return;
  dispatcher_.WaitDelivering([this] { return terminateDelivered_.load(); });
  thread_.join();
}

void TRegistryCheckThread::ThreadMain() {
  t_runningEngine = this;
  if (!Terminated()) {
    try {
      Execute();
    } catch (...) {
      // Only a failing OnScanFinished receiver gets here. It must not take the
      // process down with the thread; the owner finds it in FatalException.
      if (!fatalException_) fatalException_ = std::current_exception();
    }
  }
  t_runningEngine = nullptr;
  // The hand-off is the scan thread's last touch of the engine: once it has
  // been delivered the owner may destroy it.
  dispatcher_.Post([this] {
    // Marked even when the receiver fails, or WaitFor would wait forever. A
    // waiter on another thread may destroy the engine the moment the mark is
    // set, so the dispatcher is woken through a reference held apart.
    TThreadDispatcher& dispatcher = dispatcher_;
    struct Delivered {
      TRegistryCheckThread& engine;
      TThreadDispatcher& dispatcher;
      ~Delivered() {
        engine.terminateDelivered_ = true;
        dispatcher.Wake();
      }
    } delivered{*this, dispatcher};
    Raise(OnTerminate);
  });
}

void TRegistryCheckThread::Execute() {
  // Deliberately no catch-all around the checks themselves: a failure a check
  // does not catch ends the scan. It is only held here so that the scan still
  // reports its end.
  try {
    {
      const std::shared_ptr<void> scanScope =
          checks_.BeginScan ? checks_.BeginScan() : nullptr;
      // What another scan found may have changed since.
      KeyTests.Clear();
      SharedKeys.Clear();
      RunCategories();
      KeyTests.Clear();
      SharedKeys.Clear();
    }
    if (Terminated()) {
      StatusText = "Stopped by user";
    } else if (Errors.empty()) {
      StatusText = "No errors found";
    } else {
      StatusText = std::to_string(Errors.size()) + " registry error(s) found";
    }
  } catch (...) {
    fatalException_ = std::current_exception();
  }
  Raise(OnScanFinished);
}

void TRegistryCheckThread::RunCategories() {
  if (Wants(cfClassesSection)) {
    RunClassCheck(checks_.CheckCLSIDs, "CLSID\\");
    RunClassCheck(checks_.CheckClasses, "");
    RunClassCheck(checks_.CheckTypeLibs, "TypeLib\\");
    RunClassCheck(checks_.CheckInterfaces, "Interface\\");
    RunClassCheck(checks_.CheckFileExtensions, "\\");
  }
  if (Wants(cfSharedDlls)) RunSoftwareCheck(checks_.CheckSharedDLLs);
  if (Wants(cfStartupRun)) RunSoftwareCheck(checks_.CheckStartupRun);
  if (Wants(cfAppPaths)) {
    // The uninstall entries belong to the same category and are walked even
    // when a stop came during the App Paths walk.
    RunSoftwareCheck(checks_.CheckAppPaths);
    RunSoftwareCheck(checks_.CheckUninstall);
  }
  if (Wants(cfHelp)) RunSoftwareCheck(checks_.CheckHelpFiles);
  if (Wants(cfFonts)) RunSoftwareCheck(checks_.CheckFonts);
  if (Wants(cfSounds)) RunSoftwareCheck(checks_.CheckSounds);
  if (Wants(cfFileList)) RunSoftwareCheck(checks_.CheckFileList);
}

bool TRegistryCheckThread::Wants(std::uint16_t flag) const {
  return (Categories & flag) != 0 && !Terminated();
}

void TRegistryCheckThread::RunClassCheck(const TClassCheck& check,
                                         const std::string& basePath) {
  if (Terminated() || !check) return;
  check(*this, TRootKey::ClassesRoot, basePath);
}

void TRegistryCheckThread::RunSoftwareCheck(const TSoftwareCheck& check) {
  if (check) check(*this);
}

void TRegistryCheckThread::AddRegistryError(TRootKey rootKey,
                                            const std::string& keyPath,
                                            const std::string& valueName,
                                            const std::string& valueData,
                                            const std::string& description) {
  AddRegistryErrorEx(rootKey, keyPath, valueName, valueData, "", description);
}

void TRegistryCheckThread::AddRegistryErrorEx(
    TRootKey rootKey, const std::string& keyPath, const std::string& valueName,
    const std::string& valueData, const std::string& replacement,
    const std::string& description) {
  auto record = std::make_unique<TRegistryError>();
  record->Replacement = replacement;
  record->Description = description;
  record->KeyPath = keyPath;
  record->ValueName = valueName;
  record->RootKey = rootKey;
  record->ValueData = valueData;
  if (ExplainProblems) record->Tested = tested_.Take();
  Errors.push_back(std::move(record));
  Raise(OnAddError);
}

TTestedList* TRegistryCheckThread::StartTests() {
  if (!ExplainProblems) return nullptr;
  tested_.Clear();
  return &tested_;
}

TTestedList* TRegistryCheckThread::Tests() {
  return ExplainProblems ? &tested_ : nullptr;
}

TRegistryError* TRegistryCheckThread::LastError() const {
  return Errors.empty() ? nullptr : Errors.back().get();
}

void TRegistryCheckThread::ShowStatus(const std::string& text) {
  StatusText = text;
  Raise(OnShowStatus);
}

void TRegistryCheckThread::ShowProgress(std::int32_t max,
                                        std::int32_t position) {
  ProgressMax = max;
  ProgressPosition = position;
  Raise(OnShowProgress);
}

void TRegistryCheckThread::Raise(const TEngineEvent& event) {
  if (event) event(*this);
}

std::string TRegistryCheckThread::RegistryErrorKeyText(
    const TRegistryError& record) {
  // A path taken from the root ("\\.dll") already starts with the separator.
  if (!record.KeyPath.empty() && record.KeyPath.front() == '\\') {
    return RootKeyName(record.RootKey) + record.KeyPath;
  }
  return RootKeyName(record.RootKey) + "\\" + record.KeyPath;
}

bool TRegistryCheckThread::CreateUndoFile() {
  try {
    ShowStatus("Creating undo file. Please wait...");
    if (undoRecorder_ == nullptr) return false;
    const auto count = static_cast<std::int32_t>(Errors.size());
    ProgressMax = count - 1;
    for (std::int32_t i = 0; i < count; ++i) {
      TRegistryError& record = *Errors[static_cast<std::size_t>(i)];
      // What could not be recorded in full could not be restored either, so
      // it must not be deleted.
      if (record.Selected &&
          !undoRecorder_->AddEntry(record.RootKey, record.KeyPath,
                                   record.ValueName)) {
        record.Selected = false;
      }
      ProgressPosition = i;
      Raise(OnShowProgress);
    }
    undoRecorder_->Flush();
    ShowStatus("Undo file created successfully.");
    return true;
  } catch (...) {
    return false;
  }
}

void TRegistryCheckThread::FixErrors() {
  SavedAccess savedAccess(Registry);
  Registry.SetAccess(access::KeyAllAccess);
  FixedCount = 0;
  DeletedCount = 0;
  const auto count = static_cast<std::int32_t>(Errors.size());
  ProgressMax = count;
  for (std::int32_t i = 0; i < count; ++i) {
    TRegistryError& record = *Errors[static_cast<std::size_t>(i)];
    // One refused open or delete, or one failing receiver, costs only this
    // record.
    try {
      if (record.Selected) {
        if (FixRecord(record)) {
          ++FixedCount;
          CurrentError = &record;
          Raise(OnFixError);
        }
        ShowStatus("Checking \"" + record.Description + "\" error");
      }
      ProgressPosition = i + 1;
      Raise(OnShowProgress);
    } catch (...) {
    }
  }
  StatusText = std::to_string(FixedCount) + " registry error(s) checked (" +
               std::to_string(DeletedCount) + " registry keys and values)";
  Raise(OnClearFinished);
  Raise(OnShowStatus);
  ShowProgress(ProgressMax, 0);
}

bool TRegistryCheckThread::FixRecord(TRegistryError& record) {
  Registry.CloseKey();
  Registry.SetRootKey(record.RootKey);
  if (!Registry.OpenKey(record.KeyPath, false)) return false;
  if (!record.Replacement.empty()) {
    Registry.WriteString(record.ValueName, record.Replacement);
    return true;
  }
  if (!record.ValueName.empty()) {
    // A value that was not there to delete (a second record naming it) was
    // not fixed by this record.
    return Registry.DeleteValue(record.ValueName) &&
           !Registry.ValueExists(record.ValueName);
  }
  DeleteKeyTree(record.RootKey, record.KeyPath);
  // DeleteKeyTree leaves no key open and the root set: the path resolves
  // against the root as it did for the open above.
  return !Registry.KeyExists(record.KeyPath);
}

void TRegistryCheckThread::DeleteKeyTree(TRootKey root,
                                         const std::string& path) {
  // A record without a key path would otherwise empty a whole root.
  if (NamesRoot(path)) return;
  Registry.CloseKey();
  Registry.SetRootKey(root);
  if (!Registry.OpenKey(path, false)) return;
  if (Registry.HasSubKeys()) {
    // Taken once: the recursion changes the open key and the subkeys.
    std::vector<std::string> subKeys;
    Registry.GetKeyNames(subKeys);
    for (const std::string& name : subKeys) {
      DeleteKeyTree(root, path + "\\" + name);
    }
  }
  Registry.CloseKey();
  // Immediate writing, so that each emptied key reaches the disk as it closes.
  LazyWriteOff immediateWrites(Registry);
  Registry.SetRootKey(root);
  Registry.SetAccess(access::KeyAllAccess);
  if (!Registry.OpenKey(path, false)) return;
  std::vector<std::string> values;
  Registry.GetValueNames(values);
  for (const std::string& name : values) {
    if (Registry.DeleteValue(name)) ++DeletedCount;
  }
  Registry.CloseKey();
  if (Registry.DeleteKey(path + "\\")) ++DeletedCount;
}

}  // namespace tidewell
