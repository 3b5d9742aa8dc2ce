#include "scan/RegistryWork.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/TextEncoding.h"
#include "registry/MemoryRegistryStore.h"
#include "scan/QueueDispatcher.h"
#include "tests/support/RegistryFixture.h"

namespace tidewell {
namespace {

using Log = std::vector<std::string>;

// Every event of an engine, in the order raised, with what its receiver reads.
void RecordEvents(TRegistryCheckThread& engine, Log& log) {
  engine.OnAddError = [&log](TRegistryCheckThread& e) {
    log.push_back("AddError " + e.LastError()->Description + " " +
                  std::to_string(e.Errors.size()));
  };
  engine.OnShowStatus = [&log](TRegistryCheckThread& e) {
    log.push_back("Status " + e.StatusText);
  };
  engine.OnShowProgress = [&log](TRegistryCheckThread& e) {
    log.push_back("Progress " + std::to_string(e.ProgressMax) + " " +
                  std::to_string(e.ProgressPosition));
  };
  engine.OnScanFinished = [&log](TRegistryCheckThread&) {
    log.push_back("ScanFinished");
  };
  engine.OnFixError = [&log](TRegistryCheckThread& e) {
    log.push_back("FixError " + e.CurrentError->Description);
  };
  engine.OnClearFinished = [&log](TRegistryCheckThread& e) {
    log.push_back("ClearFinished " + e.StatusText);
  };
  engine.OnTerminate = [&log](TRegistryCheckThread&) {
    log.push_back("Terminate");
  };
}

// Checks that only note that they ran, and with which root and base path.
TScanChecks RecordingChecks(Log& calls) {
  auto classCheck = [&calls](const std::string& name) {
    return [&calls, name](TRegistryCheckThread&, TRootKey root,
                          const std::string& basePath) {
      calls.push_back(name + " " + RootKeyName(root) + " [" + basePath + "]");
    };
  };
  auto softwareCheck = [&calls](const std::string& name) {
    return [&calls, name](TRegistryCheckThread&) { calls.push_back(name); };
  };
  TScanChecks checks;
  checks.CheckCLSIDs = classCheck("CLSIDs");
  checks.CheckClasses = classCheck("Classes");
  checks.CheckTypeLibs = classCheck("TypeLibs");
  checks.CheckInterfaces = classCheck("Interfaces");
  checks.CheckFileExtensions = classCheck("FileExtensions");
  checks.CheckSharedDLLs = softwareCheck("SharedDLLs");
  checks.CheckStartupRun = softwareCheck("StartupRun");
  checks.CheckAppPaths = softwareCheck("AppPaths");
  checks.CheckUninstall = softwareCheck("Uninstall");
  checks.CheckHelpFiles = softwareCheck("HelpFiles");
  checks.CheckFonts = softwareCheck("Fonts");
  checks.CheckSounds = softwareCheck("Sounds");
  checks.CheckFileList = softwareCheck("FileList");
  return checks;
}

class ScanTest : public ::testing::Test {
 protected:
  std::unique_ptr<TRegistryCheckThread> MakeEngine() {
    auto engine = std::make_unique<TRegistryCheckThread>(store_, dispatcher_,
                                                         nullptr, checks_);
    RecordEvents(*engine, log_);
    return engine;
  }

  static void Run(TRegistryCheckThread& engine) {
    engine.Start();
    engine.WaitFor();
  }

  MemoryRegistryStore store_;
  TQueueDispatcher dispatcher_;
  Log calls_;
  Log log_;
  TScanChecks checks_ = RecordingChecks(calls_);
};

TEST_F(ScanTest, CreatedEngineIsIdleWithTheSoftwareSectionChosen) {
  auto engine = MakeEngine();
  EXPECT_EQ(engine->Categories, 127);
  EXPECT_EQ(engine->Registry.RootKey(), TRootKey::LocalMachine);
  EXPECT_TRUE(engine->Errors.empty());
  EXPECT_EQ(engine->LastError(), nullptr);
  EXPECT_FALSE(engine->Terminated());
  EXPECT_TRUE(calls_.empty());
}

TEST_F(ScanTest, NoCategoryRunsNoCheckAndFindsNoErrors) {
  auto engine = MakeEngine();
  engine->Categories = 0;
  Run(*engine);
  EXPECT_TRUE(calls_.empty());
  EXPECT_EQ(engine->StatusText, "No errors found");
  // The summary is not announced through OnShowStatus.
  EXPECT_EQ(log_, (Log{"ScanFinished", "Terminate"}));
  EXPECT_EQ(engine->FatalException(), nullptr);
}

TEST_F(ScanTest, CategoriesRunInTheirFixedOrder) {
  auto engine = MakeEngine();
  engine->Categories = cfFileList | cfSounds | cfFonts | cfHelp | cfAppPaths |
                       cfStartupRun | cfFileAssociations | cfSharedDlls |
                       cfClassesSection;
  Run(*engine);
  EXPECT_EQ(calls_, (Log{"CLSIDs HKEY_CLASSES_ROOT [CLSID\\]",
                         "Classes HKEY_CLASSES_ROOT []",
                         "TypeLibs HKEY_CLASSES_ROOT [TypeLib\\]",
                         "Interfaces HKEY_CLASSES_ROOT [Interface\\]",
                         "FileExtensions HKEY_CLASSES_ROOT [\\]", "SharedDLLs",
                         "StartupRun", "AppPaths", "Uninstall", "HelpFiles",
                         "Fonts", "Sounds", "FileList"}));
}

TEST_F(ScanTest, EachFlagSelectsOnlyItsOwnChecks) {
  struct Case {
    std::uint16_t flags;
    Log expected;
  };
  const std::vector<Case> cases = {
      {127, {"SharedDLLs", "StartupRun", "AppPaths", "Uninstall", "HelpFiles",
             "Fonts", "Sounds"}},
      {cfFileAssociations, {}},
      {cfAppPaths, {"AppPaths", "Uninstall"}},
      {cfFonts | cfFileList, {"Fonts", "FileList"}},
  };
  for (const Case& c : cases) {
    calls_.clear();
    auto engine = MakeEngine();
    engine->Categories = c.flags;
    Run(*engine);
    EXPECT_EQ(calls_, c.expected) << "flags " << c.flags;
  }
}

TEST_F(ScanTest, FoundProblemsBecomeRecordsAndAreCountedInTheSummary) {
  checks_.CheckFonts = [](TRegistryCheckThread& e) {
    e.AddRegistryError(TRootKey::LocalMachine, "Software\\Fonts", "Arial",
                       "arial.ttf", "File not found");
    e.AddRegistryErrorEx(TRootKey::CurrentUser, "Software\\Fix", "Path",
                         "C:\\old", "C:\\new", "Invalid path");
  };
  auto engine = MakeEngine();
  Run(*engine);

  EXPECT_EQ(engine->StatusText, "2 registry error(s) found");
  EXPECT_EQ(log_, (Log{"AddError File not found 1", "AddError Invalid path 2",
                       "ScanFinished", "Terminate"}));
  ASSERT_EQ(engine->Errors.size(), 2u);
  const TRegistryError& first = *engine->Errors[0];
  EXPECT_EQ(first.RootKey, TRootKey::LocalMachine);
  EXPECT_EQ(first.KeyPath, "Software\\Fonts");
  EXPECT_EQ(first.ValueName, "Arial");
  EXPECT_EQ(first.ValueData, "arial.ttf");
  EXPECT_EQ(first.Description, "File not found");
  EXPECT_EQ(first.Replacement, "");
  EXPECT_FALSE(first.Selected);
  EXPECT_EQ(first.ListItem, nullptr);
  EXPECT_EQ(engine->Errors[1]->Replacement, "C:\\new");
  EXPECT_EQ(engine->LastError(), engine->Errors[1].get());
}

TEST_F(ScanTest, StopFromTheOwnerDuringACheckKeepsTheRecords) {
  std::promise<void> running;
  checks_.CheckStartupRun = [&](TRegistryCheckThread& e) {
    calls_.push_back("StartupRun");
    e.AddRegistryError(TRootKey::LocalMachine, "Run", "A", "a.exe",
                       "File not found");
    running.set_value();
    while (!e.Terminated()) std::this_thread::yield();
  };
  auto engine = MakeEngine();
  engine->Start();
  running.get_future().wait();
  engine->Terminate();
  engine->WaitFor();

  EXPECT_EQ(calls_, (Log{"SharedDLLs", "StartupRun"}));
  EXPECT_EQ(engine->StatusText, "Stopped by user");
  EXPECT_EQ(engine->Errors.size(), 1u);
  EXPECT_EQ(log_.back(), "Terminate");
  EXPECT_EQ(log_[log_.size() - 2], "ScanFinished");
}

TEST_F(ScanTest, StopDuringAppPathsStillWalksTheUninstallEntries) {
  checks_.CheckAppPaths = [&](TRegistryCheckThread& e) {
    calls_.push_back("AppPaths");
    e.Terminate();
  };
  auto engine = MakeEngine();
  Run(*engine);
  EXPECT_EQ(calls_, (Log{"SharedDLLs", "StartupRun", "AppPaths", "Uninstall"}));
  EXPECT_EQ(engine->StatusText, "Stopped by user");
}

TEST_F(ScanTest, StopDuringAClassCheckSkipsTheOtherClassChecks) {
  checks_.CheckTypeLibs = [&](TRegistryCheckThread& e, TRootKey,
                              const std::string&) {
    calls_.push_back("TypeLibs");
    e.Terminate();
  };
  auto engine = MakeEngine();
  engine->Categories = cfClassesSection | cfSharedDlls;
  Run(*engine);
  EXPECT_EQ(calls_, (Log{"CLSIDs HKEY_CLASSES_ROOT [CLSID\\]",
                         "Classes HKEY_CLASSES_ROOT []", "TypeLibs"}));
  EXPECT_EQ(engine->StatusText, "Stopped by user");
}

TEST_F(ScanTest, TerminateBeforeStartSkipsTheScanButStillEnds) {
  auto engine = MakeEngine();
  engine->Terminate();
  Run(*engine);
  EXPECT_TRUE(calls_.empty());
  EXPECT_EQ(engine->StatusText, "");
  EXPECT_EQ(log_, (Log{"Terminate"}));
}

TEST_F(ScanTest, FailingCheckEndsTheScanAndIsHeldByTheEngine) {
  checks_.CheckStartupRun = [&](TRegistryCheckThread& e) {
    calls_.push_back("StartupRun");
    e.AddRegistryError(TRootKey::LocalMachine, "Run", "A", "a.exe",
                       "File not found");
    e.ShowStatus("Run");
    throw ERegistryException("Invalid data type for 'A'");
  };
  auto engine = MakeEngine();
  Run(*engine);

  EXPECT_EQ(calls_, (Log{"SharedDLLs", "StartupRun"}));
  // No summary: the status is the last one the check wrote.
  EXPECT_EQ(engine->StatusText, "Run");
  EXPECT_EQ(log_, (Log{"AddError File not found 1", "Status Run",
                       "ScanFinished", "Terminate"}));
  EXPECT_EQ(engine->Errors.size(), 1u);
  ASSERT_NE(engine->FatalException(), nullptr);
  try {
    std::rethrow_exception(engine->FatalException());
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'A'");
  }
}

TEST_F(ScanTest, FailingScanFinishedReceiverDoesNotLoseTheThread) {
  auto engine = MakeEngine();
  engine->Categories = 0;
  engine->OnScanFinished = [](TRegistryCheckThread&) {
    throw std::runtime_error("receiver failed");
  };
  Run(*engine);
  EXPECT_EQ(engine->StatusText, "No errors found");
  EXPECT_EQ(log_, (Log{"Terminate"}));
  ASSERT_NE(engine->FatalException(), nullptr);
  EXPECT_THROW(std::rethrow_exception(engine->FatalException()),
               std::runtime_error);
}

TEST_F(ScanTest, ScanEventsComeFromTheScanThreadAndOnTerminateFromTheOwner) {
  const std::thread::id owner = std::this_thread::get_id();
  std::thread::id checkThread, finishedThread, terminateThread;
  checks_.CheckSounds = [&](TRegistryCheckThread&) {
    checkThread = std::this_thread::get_id();
  };
  auto engine = MakeEngine();
  engine->OnScanFinished = [&](TRegistryCheckThread&) {
    finishedThread = std::this_thread::get_id();
  };
  engine->OnTerminate = [&](TRegistryCheckThread&) {
    terminateThread = std::this_thread::get_id();
  };
  engine->Start();
  // Delivered by the owner's own loop, before anyone waits for the thread.
  while (terminateThread == std::thread::id()) {
    dispatcher_.ProcessPending();
    std::this_thread::yield();
  }
  engine->WaitFor();
  EXPECT_NE(checkThread, owner);
  EXPECT_EQ(finishedThread, checkThread);
  EXPECT_EQ(terminateThread, owner);
}

// The cleanup window's handlers hand every control change to the user-
// interface thread and wait for it; WaitFor on that thread must serve them.
TEST_F(ScanTest, WaitForOnTheOwnerThreadServesSynchronousHandOffs) {
  Log rows;  // touched on the owner thread only
  checks_.CheckHelpFiles = [](TRegistryCheckThread& e) {
    for (const char* name : {"a.hlp", "b.hlp", "c.hlp"}) {
      e.AddRegistryError(TRootKey::LocalMachine, "Help", name, name,
                         "File not found");
    }
  };
  auto engine = MakeEngine();
  engine->Categories = cfHelp;
  engine->OnAddError = [&](TRegistryCheckThread& e) {
    dispatcher_.Send([&] {
      EXPECT_TRUE(dispatcher_.IsOwnerThread());
      rows.push_back(e.LastError()->ValueName);
    });
  };
  engine->OnScanFinished = [&](TRegistryCheckThread& e) {
    dispatcher_.Send([&] { rows.push_back(e.StatusText); });
  };
  engine->Start();
  engine->WaitFor();
  EXPECT_EQ(rows, (Log{"a.hlp", "b.hlp", "c.hlp", "3 registry error(s) found"}));
  EXPECT_EQ(log_, (Log{"Terminate"}));
}

TEST_F(ScanTest, StopAndWaitWhileTheScanHandsOffDoesNotBlock) {
  Log rows;
  std::promise<void> running;
  checks_.CheckSharedDLLs = [&](TRegistryCheckThread& e) {
    running.set_value();
    for (int i = 0; !e.Terminated(); ++i) {
      e.AddRegistryError(TRootKey::LocalMachine, "SharedDLLs",
                         std::to_string(i), "", "File not found");
    }
  };
  auto engine = MakeEngine();
  engine->OnAddError = [&](TRegistryCheckThread& e) {
    dispatcher_.Send([&] { rows.push_back(e.LastError()->ValueName); });
  };
  engine->OnScanFinished = [&](TRegistryCheckThread& e) {
    dispatcher_.Send([&] { rows.push_back(e.StatusText); });
  };
  engine->Start();
  running.get_future().wait();
  engine->Terminate();
  engine->WaitFor();
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.back(), "Stopped by user");
  EXPECT_EQ(rows.size(), engine->Errors.size() + 1);
  EXPECT_EQ(log_, (Log{"Terminate"}));
}

TEST_F(ScanTest, StartIsOnceAndWaitForIsHarmlessWhenNothingRuns) {
  auto engine = MakeEngine();
  engine->WaitFor();  // never started
  engine->Categories = 0;
  Run(*engine);
  EXPECT_THROW(engine->Start(), std::logic_error);
  engine->WaitFor();  // already over
  EXPECT_EQ(log_, (Log{"ScanFinished", "Terminate"}));
}

TEST_F(ScanTest, WaitForOnTheScanThreadRefusesToWaitForItself) {
  auto engine = MakeEngine();
  engine->Categories = 0;
  bool refused = false;
  engine->OnScanFinished = [&](TRegistryCheckThread& e) {
    try {
      e.WaitFor();
    } catch (const std::logic_error&) {
      refused = true;
    }
  };
  Run(*engine);
  EXPECT_TRUE(refused);
}

TEST_F(ScanTest, DestroyingARunningEngineStopsItAndWaits) {
  std::promise<void> running;
  bool checkEnded = false;
  checks_.CheckSharedDLLs = [&](TRegistryCheckThread& e) {
    running.set_value();
    while (!e.Terminated()) std::this_thread::yield();
    checkEnded = true;
  };
  auto engine = MakeEngine();
  engine->Start();
  running.get_future().wait();
  engine.reset();
  EXPECT_TRUE(checkEnded);
  EXPECT_EQ(log_, (Log{"ScanFinished", "Terminate"}));
  EXPECT_EQ(dispatcher_.ProcessPending(), 0u);
}

TEST(RegistryErrorKeyTextTest, NamesTheRootThenABackslashThenThePath) {
  TRegistryError record;
  record.KeyPath = "Software\\Foo";
  const std::vector<std::pair<TRootKey, std::string>> roots = {
      {TRootKey::ClassesRoot, "HKEY_CLASSES_ROOT\\Software\\Foo"},
      {TRootKey::CurrentUser, "HKEY_CURRENT_USER\\Software\\Foo"},
      {TRootKey::LocalMachine, "HKEY_LOCAL_MACHINE\\Software\\Foo"},
      {TRootKey::Users, "HKEY_USERS\\Software\\Foo"},
      {static_cast<TRootKey>(0x80000005u), "\\Software\\Foo"},
  };
  for (const auto& [root, text] : roots) {
    record.RootKey = root;
    EXPECT_EQ(TRegistryCheckThread::RegistryErrorKeyText(record), text);
  }
  // A path taken from the root (file extensions) brings its own separator.
  record.RootKey = TRootKey::ClassesRoot;
  record.KeyPath = "\\.xyz";
  EXPECT_EQ(TRegistryCheckThread::RegistryErrorKeyText(record),
            "HKEY_CLASSES_ROOT\\.xyz");
}

// ---------------------------------------------------------------------------
// Undo step and fixing pass (run on the calling thread; no scan needed).

// Records what the engine hands it; can refuse entries or fail.
class FakeUndoRecorder : public TUndoRecorder {
 public:
  bool AddEntry(TRootKey root, const std::string& keyPath,
                const std::string& valueName) override {
    const std::string entry =
        "Add " + RootKeyName(root) + "\\" + keyPath + " [" + valueName + "]";
    if (failOnEntry == entry) throw std::runtime_error("cannot write undo");
    calls.push_back(entry);
    return refused.count(valueName) == 0;
  }
  void Flush() override {
    calls.push_back("Flush");
    if (failFlush) throw std::runtime_error("flush failed");
  }

  Log calls;
  std::set<std::string> refused;  // value names recorded only in part
  std::string failOnEntry;
  bool failFlush = false;
};

// A store that refuses to delete chosen values and keys, as a protected key
// does on Windows.
class RefusingStore : public MemoryRegistryStore {
 public:
  long DeleteValue(KeyHandle key, const std::string& name) override {
    if (refusedValues.count(name) != 0) return regerr::AccessDenied;
    return MemoryRegistryStore::DeleteValue(key, name);
  }
  long DeleteKey(KeyHandle base, const std::string& subKey) override {
    const std::string last = subKey.substr(subKey.find_last_of('\\') + 1);
    if (refusedKeys.count(last) != 0) return regerr::AccessDenied;
    return MemoryRegistryStore::DeleteKey(base, subKey);
  }

  std::set<std::string> refusedValues;
  std::set<std::string> refusedKeys;  // by the key's own name
};

constexpr const char* kTree = R"(
[HKEY_CURRENT_USER\Software\Tidewell\Run]
"Gone"="missing.exe"
"Kept"="kept.exe"
[HKEY_CURRENT_USER\Software\Tidewell\Orphan]
"A"="1"
"B"=dword:00000002
[HKEY_CURRENT_USER\Software\Tidewell\Orphan\Child]
"C"=hex:01
[HKEY_CURRENT_USER\Software\Tidewell\Orphan\Child\Leaf]
)";

class FixTest : public ::testing::Test {
 protected:
  FixTest() {
    LoadRegistryFixture(store_, kTree);
    RecordEvents(engine_, log_);
  }

  TRegistryError& Add(const std::string& keyPath, const std::string& valueName,
                      const std::string& description, bool selected = true) {
    engine_.AddRegistryError(TRootKey::CurrentUser, keyPath, valueName, "",
                             description);
    engine_.LastError()->Selected = selected;
    return *engine_.LastError();
  }

  bool KeyExists(const std::string& path) {
    TRegistry registry(store_);
    return registry.KeyExists(path);
  }
  bool ValueExists(const std::string& path, const std::string& name) {
    TRegistry registry(store_);
    return registry.OpenKey(path, false) && registry.ValueExists(name);
  }

  RefusingStore store_;
  TQueueDispatcher dispatcher_;
  FakeUndoRecorder undo_;
  TRegistryCheckThread engine_{store_, dispatcher_, &undo_};
  Log log_;
};

TEST_F(FixTest, FixingPassDeletesTheSelectedAndReportsToTheLetter) {
  Add("Software\\Tidewell\\Run", "Gone", "File not found");
  Add("Software\\Tidewell\\Run", "Kept", "File not found", false);
  Add("Software\\Tidewell\\Orphan", "", "Application does not exists");
  Add("Software\\Tidewell\\Missing", "", "Invalid class");
  engine_.Registry.SetAccess(access::KeyRead);
  log_.clear();

  engine_.FixErrors();

  EXPECT_EQ(log_,
            (Log{"FixError File not found",
                 "Status Checking \"File not found\" error", "Progress 4 1",
                 "Progress 4 2", "FixError Application does not exists",
                 "Status Checking \"Application does not exists\" error",
                 "Progress 4 3", "Status Checking \"Invalid class\" error",
                 "Progress 4 4",
                 "ClearFinished 2 registry error(s) checked (6 registry keys "
                 "and values)",
                 "Status 2 registry error(s) checked (6 registry keys and "
                 "values)",
                 "Progress 4 0"}));
  // Three values and three keys of the tree; the single value adds nothing.
  EXPECT_EQ(engine_.FixedCount, 2);
  EXPECT_EQ(engine_.DeletedCount, 6);
  EXPECT_FALSE(ValueExists("Software\\Tidewell\\Run", "Gone"));
  EXPECT_TRUE(ValueExists("Software\\Tidewell\\Run", "Kept"));
  EXPECT_FALSE(KeyExists("Software\\Tidewell\\Orphan"));
  EXPECT_EQ(engine_.Registry.Access(), access::KeyRead);
  EXPECT_EQ(engine_.Registry.LazyWrite(), true);
}

TEST_F(FixTest, SecondRecordOfTheSameValueOrKeyIsNotCounted) {
  Add("Software\\Tidewell\\Run", "Gone", "First");
  Add("Software\\Tidewell\\Run", "Gone", "Second");
  Add("Software\\Tidewell\\Orphan", "", "Third");
  Add("Software\\Tidewell\\Orphan", "", "Fourth");
  log_.clear();
  engine_.FixErrors();
  EXPECT_EQ(engine_.FixedCount, 2);
  EXPECT_EQ(engine_.DeletedCount, 6);
  Log fixed;
  for (const std::string& line : log_) {
    if (line.rfind("FixError", 0) == 0 || line.rfind("Status Checking", 0) == 0)
      fixed.push_back(line);
  }
  EXPECT_EQ(fixed, (Log{"FixError First", "Status Checking \"First\" error",
                        "Status Checking \"Second\" error", "FixError Third",
                        "Status Checking \"Third\" error",
                        "Status Checking \"Fourth\" error"}));
}

TEST_F(FixTest, KeyPathsWithLeadingOrTrailingBackslashNameTheSameKey) {
  Add("\\Software\\Tidewell\\Orphan", "", "Leading");
  Add("Software\\Tidewell\\Run\\", "", "Trailing");
  engine_.FixErrors();
  EXPECT_EQ(engine_.FixedCount, 2);
  EXPECT_EQ(engine_.DeletedCount, 6 + 3);
  EXPECT_FALSE(KeyExists("Software\\Tidewell\\Orphan"));
  EXPECT_FALSE(KeyExists("Software\\Tidewell\\Run"));
  EXPECT_TRUE(KeyExists("Software\\Tidewell"));
}

TEST_F(FixTest, ReplacementIsWrittenInsteadOfDeleting) {
  engine_.AddRegistryErrorEx(TRootKey::CurrentUser, "Software\\Tidewell\\Run",
                             "Gone", "missing.exe", "found.exe",
                             "Invalid path");
  engine_.LastError()->Selected = true;
  engine_.FixErrors();
  EXPECT_EQ(engine_.FixedCount, 1);
  EXPECT_EQ(engine_.DeletedCount, 0);
  TRegistry registry(store_);
  ASSERT_TRUE(registry.OpenKey("Software\\Tidewell\\Run", false));
  EXPECT_EQ(registry.ReadString("Gone"), "found.exe");
}

TEST_F(FixTest, RefusedDeletionsAreNeitherCountedNorReportedAsFixed) {
  store_.refusedValues = {"B", "Kept"};
  store_.refusedKeys = {"Child"};
  Add("Software\\Tidewell\\Orphan", "", "Tree");
  Add("Software\\Tidewell\\Run", "Kept", "Value");
  log_.clear();
  engine_.FixErrors();
  // A and C went, and the key Leaf; B, Child and so Orphan stayed.
  EXPECT_EQ(engine_.DeletedCount, 3);
  EXPECT_EQ(engine_.FixedCount, 0);
  EXPECT_TRUE(KeyExists("Software\\Tidewell\\Orphan\\Child"));
  EXPECT_FALSE(KeyExists("Software\\Tidewell\\Orphan\\Child\\Leaf"));
  EXPECT_TRUE(ValueExists("Software\\Tidewell\\Orphan", "B"));
  EXPECT_FALSE(ValueExists("Software\\Tidewell\\Orphan", "A"));
  for (const std::string& line : log_) EXPECT_NE(line.rfind("FixError", 0), 0u);
  EXPECT_EQ(engine_.StatusText,
            "0 registry error(s) checked (3 registry keys and values)");
}

TEST_F(FixTest, RootIsNeverDeletedAsAWhole) {
  const std::string before =
      DumpRegistryTree(store_, TRootKey::CurrentUser, "");
  Add("", "", "Empty path");
  Add("\\\\", "", "Only backslashes");
  log_.clear();
  engine_.FixErrors();
  engine_.DeleteKeyTree(TRootKey::CurrentUser, "");
  engine_.DeleteKeyTree(TRootKey::CurrentUser, "\\");
  EXPECT_EQ(DumpRegistryTree(store_, TRootKey::CurrentUser, ""), before);
  EXPECT_EQ(engine_.FixedCount, 0);
  EXPECT_EQ(engine_.DeletedCount, 0);
  EXPECT_EQ(log_[0], "Status Checking \"Empty path\" error");
  EXPECT_EQ(log_[2], "Status Checking \"Only backslashes\" error");
}

TEST_F(FixTest, FailureWhileFixingOneRecordCostsOnlyThatRecord) {
  Add("Software\\Tidewell\\Run", "Gone", "First");
  Add("Software\\Tidewell\\Run", "Kept", "Second");
  engine_.OnFixError = [](TRegistryCheckThread& e) {
    if (e.CurrentError->Description == "First")
      throw std::runtime_error("row vanished");
  };
  log_.clear();
  engine_.FixErrors();
  EXPECT_EQ(engine_.FixedCount, 2);
  EXPECT_FALSE(ValueExists("Software\\Tidewell\\Run", "Kept"));
  EXPECT_EQ(log_.back(), "Progress 2 0");
}

TEST_F(FixTest, FixingCanBeRepeatedForALaterSelection) {
  TRegistryError& gone = Add("Software\\Tidewell\\Run", "Gone", "First");
  TRegistryError& kept = Add("Software\\Tidewell\\Run", "Kept", "Second", false);
  engine_.FixErrors();
  gone.Selected = false;
  kept.Selected = true;
  engine_.FixErrors();
  EXPECT_EQ(engine_.FixedCount, 1);
  EXPECT_FALSE(ValueExists("Software\\Tidewell\\Run", "Kept"));
}

TEST_F(FixTest, UndoStepRecordsTheSelectedThenFlushes) {
  Add("Software\\Tidewell\\Run", "Gone", "File not found");
  Add("Software\\Tidewell\\Run", "Kept", "File not found", false);
  Add("Software\\Tidewell\\Orphan", "", "Application does not exists");
  log_.clear();

  EXPECT_TRUE(engine_.CreateUndoFile());
  EXPECT_EQ(undo_.calls,
            (Log{"Add HKEY_CURRENT_USER\\Software\\Tidewell\\Run [Gone]",
                 "Add HKEY_CURRENT_USER\\Software\\Tidewell\\Orphan []",
                 "Flush"}));
  EXPECT_EQ(log_, (Log{"Status Creating undo file. Please wait...",
                       "Progress 2 0", "Progress 2 1", "Progress 2 2",
                       "Status Undo file created successfully."}));
}

TEST_F(FixTest, EntryNotRecordedInFullIsNotDeleted) {
  undo_.refused = {"Gone"};
  TRegistryError& gone = Add("Software\\Tidewell\\Run", "Gone", "First");
  TRegistryError& kept = Add("Software\\Tidewell\\Run", "Kept", "Second");
  EXPECT_TRUE(engine_.CreateUndoFile());
  EXPECT_FALSE(gone.Selected);
  EXPECT_TRUE(kept.Selected);
  engine_.FixErrors();
  EXPECT_TRUE(ValueExists("Software\\Tidewell\\Run", "Gone"));
  EXPECT_FALSE(ValueExists("Software\\Tidewell\\Run", "Kept"));
  EXPECT_EQ(engine_.FixedCount, 1);
}

TEST_F(FixTest, UndoFailureStopsTheStepAndKeepsItsFirstStatus) {
  Add("Software\\Tidewell\\Run", "Gone", "First");
  Add("Software\\Tidewell\\Orphan", "", "Second");
  Add("Software\\Tidewell\\Run", "Kept", "Third");
  undo_.failOnEntry = "Add HKEY_CURRENT_USER\\Software\\Tidewell\\Orphan []";
  log_.clear();
  EXPECT_FALSE(engine_.CreateUndoFile());
  EXPECT_EQ(undo_.calls,
            (Log{"Add HKEY_CURRENT_USER\\Software\\Tidewell\\Run [Gone]"}));
  EXPECT_EQ(engine_.StatusText, "Creating undo file. Please wait...");
  EXPECT_EQ(log_, (Log{"Status Creating undo file. Please wait...",
                       "Progress 2 0"}));
}

TEST_F(FixTest, FlushFailureFailsTheUndoStep) {
  Add("Software\\Tidewell\\Run", "Gone", "First");
  undo_.failFlush = true;
  EXPECT_FALSE(engine_.CreateUndoFile());
  EXPECT_EQ(engine_.StatusText, "Creating undo file. Please wait...");
}

TEST_F(FixTest, UndoStepWithoutARecorderFails) {
  TRegistryCheckThread engine(store_, dispatcher_, nullptr);
  engine.AddRegistryError(TRootKey::CurrentUser, "Software\\Tidewell\\Run",
                          "Gone", "", "First");
  engine.LastError()->Selected = true;
  EXPECT_FALSE(engine.CreateUndoFile());
  EXPECT_EQ(engine.StatusText, "Creating undo file. Please wait...");
}

TEST_F(FixTest, UndoStepOverAnEmptyListSucceeds) {
  engine_.ProgressMax = 7;
  EXPECT_TRUE(engine_.CreateUndoFile());
  EXPECT_EQ(engine_.ProgressMax, -1);
  EXPECT_EQ(undo_.calls, (Log{"Flush"}));
}

// The cleanup window's Delete from inside OnScanFinished in auto mode: the
// undo step and the fixing pass then run on the scan thread.
TEST_F(FixTest, UndoAndFixingRunOnTheScanThreadFromScanFinished) {
  TScanChecks checks;
  checks.CheckStartupRun = [](TRegistryCheckThread& e) {
    e.AddRegistryError(TRootKey::CurrentUser, "Software\\Tidewell\\Run",
                       "Gone", "missing.exe", "File not found");
  };
  TRegistryCheckThread engine(store_, dispatcher_, &undo_, checks);
  bool deleted = false;
  engine.OnScanFinished = [&](TRegistryCheckThread& e) {
    for (auto& record : e.Errors) record->Selected = true;
    if (e.CreateUndoFile()) e.FixErrors();
    deleted = e.FixedCount == 1;
  };
  engine.Start();
  engine.WaitFor();
  EXPECT_TRUE(deleted);
  EXPECT_FALSE(ValueExists("Software\\Tidewell\\Run", "Gone"));
  EXPECT_EQ(engine.StatusText,
            "1 registry error(s) checked (0 registry keys and values)");
}

}  // namespace
}  // namespace tidewell
