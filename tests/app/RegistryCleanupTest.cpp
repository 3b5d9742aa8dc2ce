// The cleanup window's logic over a fake view: the state table, totals, tick
// and menu rules, exclusion and the excluded-keys file, the delete actions,
// auto mode, and the hand-offs between the scan thread and the owner thread.
#include <atomic>
#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/RegistryCleanupPresenter.h"
#include "app/RunMode.h"
#include "platform/AnsiCodePage.h"
#include "registry/MemoryRegistryStore.h"
#include "scan/QueueDispatcher.h"
#include "settings/ExcludedKeysFile.h"
#include "tests/platform/TestDrive.h"
#include "tests/support/RegistryFixture.h"

namespace tidewell {
namespace {

class FakeView final : public TRegistryCleanupView {
 public:
  struct Row {
    std::string key, value, description;
    bool ticked = false;
  };
  void AddRow(const std::string& key, const std::string& value,
              const std::string& description) override {
    rows.push_back({key, value, description});
    drawn.push_back("row " + value);
  }
  void RemoveRow(int index) override { rows.erase(rows.begin() + index); }
  void ClearRows() override { rows.clear(); }
  void ShowRowTick(int index, bool ticked) override {
    rows[static_cast<std::size_t>(index)].ticked = ticked;
    if (presenter) presenter->RowTickChanged(index, ticked);  // as the list notifies
  }
  void ShowStatus(TStatusIcon icon, const std::string& text) override {
    statusIcon = icon;
    status = text;
    statusHistory.push_back(text);
  }
  void ShowTotal(const std::string& text) override { total = text; }
  void ShowStatusLine(const std::string& text) override {
    statusLine = text;
    drawn.push_back(text);
  }
  void ShowProgress(std::int32_t max, std::int32_t position) override {
    progress = std::to_string(position) + "/" + std::to_string(max);
  }
  void SetPaneVisible(TCleanupPane pane, bool shown) override { panes[pane] = shown; }
  void SetButtonEnabled(TCleanupButton button, bool enabled) override {
    enabledButtons[button] = enabled;
  }
  void ShowRunAsStop(bool stop) override { runIsStop = stop; }
  void ShowMessage(TMessageKind, const std::string& text) override { messages.push_back(text); }
  bool OpenRegistryEditor(const std::string& key, const std::string& value) override {
    editorCalls.push_back(key + " | " + value);
    return editorFound;
  }
  void StartAfterShowTimer() override { timerOn = true; }
  void StopAfterShowTimer() override { timerOn = false; }
  bool IsVisible() override { return visible; }
  void CloseWindow() override {
    visible = false;
    ++closed;
  }

  // The Ready, Scanning, Scanned and Stopped rows of the state table as one
  // text: buttons Run/Back/Delete/Tick enabled, then panes Total/Line/Progress.
  std::string Controls() {
    std::string text;
    for (TCleanupButton b : {TCleanupButton::Run, TCleanupButton::Back,
                             TCleanupButton::Delete, TCleanupButton::Tick}) {
      text += enabledButtons[b] ? '1' : '0';
    }
    text += ' ';
    for (TCleanupPane p : {TCleanupPane::Total, TCleanupPane::StatusLine,
                           TCleanupPane::Progress}) {
      text += panes[p] ? '1' : '0';
    }
    return text;
  }

  TRegistryCleanupPresenter* presenter = nullptr;
  std::vector<Row> rows;
  TStatusIcon statusIcon = TStatusIcon::Idle;
  std::string status, total, statusLine, progress;
  // Status lines and rows in the order they were drawn.
  std::vector<std::string> drawn;
  std::vector<std::string> statusHistory, messages, editorCalls;
  std::map<TCleanupPane, bool> panes;
  std::map<TCleanupButton, bool> enabledButtons;
  bool runIsStop = false, timerOn = false, visible = true, editorFound = true;
  int closed = 0;
};

class FakeRecorder final : public TUndoRecorder {
 public:
  bool AddEntry(TRootKey, const std::string& keyPath, const std::string& valueName) override {
    if (fail) throw std::runtime_error("disk full");
    recorded.push_back(keyPath + "|" + valueName);
    return true;
  }
  void Flush() override {}
  std::vector<std::string> recorded;
  bool fail = false;
};

constexpr const char* kRegistry = R"(
[HKEY_CURRENT_USER\Software\Tidewell\Run]
"Gone"="C:\\missing.exe"
"Lost"="C:\\lost.exe"
[HKEY_CURRENT_USER\Software\Tidewell\Orphan]
"A"="1"
[HKEY_CURRENT_USER\Software\Other\CLSID\Stale]
)";

class RegistryCleanupTest : public ::testing::Test {
 protected:
  RegistryCleanupTest() {
    LoadRegistryFixture(store_, kRegistry);
    view_.presenter = &presenter_;
    // The four problems the fake scan reports, in this order.
    checks_.CheckSharedDLLs = [this](TRegistryCheckThread& engine) {
      if (TTestedList* tested = engine.StartTests()) tested->File("C:\\missing.exe", false);
      engine.AddRegistryError(TRootKey::CurrentUser, "Software\\Tidewell\\Run", "Gone",
                              "C:\\missing.exe", "File not found");
      engine.AddRegistryError(TRootKey::CurrentUser, "Software\\Tidewell\\Orphan", "", "",
                              "Application does not exists");
      engine.AddRegistryError(TRootKey::CurrentUser, "Software\\Other\\CLSID\\Stale", "", "",
                              "Invalid class");
      engine.AddRegistryError(TRootKey::CurrentUser, "Software\\Tidewell\\Run", "Lost",
                              "C:\\lost.exe", "File not found");
      while (blockUntilStopped_ && !engine.Terminated()) std::this_thread::yield();
    };
  }

  void Scan() {
    presenter_.RunStopClicked();
    presenter_.WaitForScan();
  }
  bool Exists(const std::string& path, const std::string& value = "") {
    TRegistry registry(store_);
    registry.SetRootKey(TRootKey::CurrentUser);
    if (!registry.OpenKey(path, false)) return false;
    return value.empty() || registry.ValueExists(value);
  }
  std::string ExcludedFile() {
    std::vector<std::string> lines;
    std::string error;
    EXPECT_TRUE(LoadExcludedKeys(drive_.FileSystem(), codePage_, excludedPath_, lines, error));
    return JoinExcludedKeys(lines);
  }
  void WriteExcludedFile(const std::vector<std::string>& lines) {
    std::string error;
    ASSERT_TRUE(SaveExcludedKeys(drive_.FileSystem(), codePage_, excludedPath_, lines, error));
  }

  MemoryRegistryStore store_;
  TQueueDispatcher dispatcher_;
  FakeRecorder recorder_;
  TScanChecks checks_;
  std::atomic<bool> blockUntilStopped_{false};
  testing::TestDrive drive_;
  Windows1252CodePage codePage_;
  std::string excludedPath_ = drive_.Path("ExcludedKeys.txt");
  std::string runMode_;
  std::uint16_t categories_ = cfSharedDlls;
  FakeView view_;
  TRegistryCleanupPresenter presenter_{
      view_, dispatcher_,
      [this] {
        return std::make_unique<TRegistryCheckThread>(store_, dispatcher_, &recorder_, checks_);
      },
      [this] { return categories_; }, runMode_, drive_.FileSystem(), codePage_, excludedPath_,
      TRegistryCleanupOptions{0, false}};
};

TEST_F(RegistryCleanupTest, TheStateTableFromReadyThroughScannedToDeleted) {
  presenter_.Shown();
  EXPECT_EQ(view_.status, "Ready!");
  EXPECT_EQ(view_.Controls(), "1100 000") << "Ready";
  EXPECT_FALSE(view_.timerOn);

  presenter_.RunStopClicked();
  EXPECT_EQ(view_.status, "Working ...");
  EXPECT_EQ(view_.statusIcon, TStatusIcon::Working);
  EXPECT_EQ(view_.Controls(), "1000 111") << "Scanning: only Stop";
  EXPECT_TRUE(view_.runIsStop);
  EXPECT_FALSE(presenter_.RowActionsAvailable());
  presenter_.WaitForScan();

  EXPECT_EQ(view_.Controls(), "1111 100") << "Scanned with rows";
  EXPECT_EQ(view_.status, "Ready!");
  EXPECT_FALSE(view_.runIsStop);
  EXPECT_EQ(view_.total, "Total: 4");
  ASSERT_EQ(view_.rows.size(), 4u);
  EXPECT_EQ(view_.rows[0].key, "HKEY_CURRENT_USER\\Software\\Tidewell\\Run");
  EXPECT_EQ(view_.rows[0].value, "C:\\missing.exe");
  EXPECT_EQ(view_.rows[0].description, "File not found");
  EXPECT_EQ(presenter_.WhyFlagged(0), "") << "not asked to explain";
  for (const auto& row : view_.rows) EXPECT_TRUE(row.ticked);
  EXPECT_TRUE(presenter_.RowActionsAvailable());

  // Tick rules: None disables Delete, one tick enables it.
  presenter_.TickNoneClicked();
  EXPECT_FALSE(view_.enabledButtons[TCleanupButton::Delete]);
  presenter_.RowTickChanged(0, true);
  presenter_.RowTickChanged(3, true);
  EXPECT_TRUE(view_.enabledButtons[TCleanupButton::Delete]);

  presenter_.DeleteClicked();
  EXPECT_EQ(recorder_.recorded, (std::vector<std::string>{"Software\\Tidewell\\Run|Gone",
                                                          "Software\\Tidewell\\Run|Lost"}));
  EXPECT_FALSE(Exists("Software\\Tidewell\\Run", "Gone"));
  EXPECT_FALSE(Exists("Software\\Tidewell\\Run", "Lost"));
  EXPECT_TRUE(Exists("Software\\Tidewell\\Orphan")) << "unticked rows stay";
  EXPECT_EQ(view_.rows.size(), 2u);
  EXPECT_EQ(view_.total, "2") << "after a fix the bare remaining count";
  EXPECT_EQ(view_.status, "Deleted!");
  EXPECT_TRUE(view_.enabledButtons[TCleanupButton::Run]);

  // A scan with nothing to find leaves Delete and Tick disabled.
  checks_ = {};
  Scan();
  EXPECT_TRUE(view_.rows.empty());
  EXPECT_EQ(view_.Controls(), "1100 100");
  EXPECT_FALSE(presenter_.RowActionsAvailable());
}

// The engine raises status and progress once per key; the window draws only
// the latest of each, but never an older one after a newer, and a row comes
// after the status that was raised before it.
TEST_F(RegistryCleanupTest, StatusAndProgressDrawTheLatestInTheEnginesOrder) {
  constexpr int kKeys = 3000;
  checks_.CheckSharedDLLs = [](TRegistryCheckThread& engine) {
    for (int key = 1; key <= kKeys; ++key) {
      // Slow enough for the owner to draw every event if it were let.
      std::this_thread::sleep_for(std::chrono::microseconds(50));
      engine.ShowStatus("key " + std::to_string(key));
      engine.ShowProgress(kKeys, key);
      if (key == 1000) {
        engine.AddRegistryError(TRootKey::CurrentUser, "Software\\Tidewell\\Run", "Gone",
                                "C:\\missing.exe", "File not found");
      }
    }
  };
  Scan();
  EXPECT_EQ(view_.progress, "3000/3000");
  const auto row = std::find(view_.drawn.begin(), view_.drawn.end(), "row C:\\missing.exe");
  ASSERT_NE(row, view_.drawn.end());
  ASSERT_NE(row, view_.drawn.begin());
  EXPECT_EQ(*(row - 1), "key 1000");
  int last = 0;
  int drawings = 0;
  for (const std::string& text : view_.drawn) {
    if (text.rfind("key ", 0) != 0) continue;
    const int key = std::stoi(text.substr(4));
    EXPECT_GT(key, last);
    last = key;
    ++drawings;
  }
  EXPECT_EQ(last, kKeys);
  // Drawn at a pace a user can read, not once per event.
  EXPECT_LT(drawings, kKeys / 10);
}

TEST_F(RegistryCleanupTest, ExclusionHidesRowsButCountsThemAndTheFileKeepsTheUsersEdits) {
  // A whole key text in another case, and a case-sensitive part of one.
  WriteExcludedFile({"hkey_current_user\\software\\tidewell\\orphan", "", "CLSID"});
  presenter_.Shown();
  Scan();
  ASSERT_EQ(view_.rows.size(), 2u);
  EXPECT_EQ(view_.total, "Total: 4") << "hidden problems still count during the scan";

  presenter_.RowSelected(1);
  presenter_.ExcludeSelectedClicked();
  EXPECT_EQ(view_.rows.size(), 1u);
  EXPECT_EQ(view_.total, "1");
  Scan();
  EXPECT_EQ(view_.rows.size(), 0u) << "the new line applies to later scans at once";

  // The user edits the file in the editor meanwhile; closing keeps that.
  WriteExcludedFile({"hkey_current_user\\software\\tidewell\\orphan", "", "CLSID", "Mine"});
  presenter_.CloseRequested();
  EXPECT_EQ(ExcludedFile(),
            "hkey_current_user\\software\\tidewell\\orphan\r\n\r\nCLSID\r\nMine\r\n"
            "HKEY_CURRENT_USER\\Software\\Tidewell\\Run\r\n");
  EXPECT_EQ(view_.closed, 1);
  EXPECT_TRUE(presenter_.Engine() != nullptr) << "the engine survives the closing";
}

TEST_F(RegistryCleanupTest, DeleteActionsRecordFirstAndAFailedUndoStepDeletesNothing) {
  presenter_.Shown();
  Scan();
  recorder_.fail = true;
  presenter_.DeleteClicked();
  EXPECT_EQ(view_.messages, std::vector<std::string>{"Can not save logfile."});
  EXPECT_TRUE(Exists("Software\\Tidewell\\Run", "Gone"));
  EXPECT_EQ(view_.rows.size(), 4u);
  EXPECT_FALSE(presenter_.Busy());

  // Delete Selected with nothing highlighted still runs both steps.
  recorder_.fail = false;
  presenter_.DeleteSelectedClicked();
  EXPECT_TRUE(recorder_.recorded.empty());
  EXPECT_EQ(view_.rows.size(), 4u);
  EXPECT_EQ(view_.status, "Deleted!");

  // Delete Selected takes the highlighted row, not the ticks.
  presenter_.RowSelected(1);
  presenter_.DeleteSelectedClicked();
  EXPECT_EQ(recorder_.recorded, std::vector<std::string>{"Software\\Tidewell\\Orphan|"});
  EXPECT_FALSE(Exists("Software\\Tidewell\\Orphan"));
  EXPECT_EQ(view_.rows.size(), 3u);
}

TEST_F(RegistryCleanupTest, ViewSelectedNeedsARowAndTypesTheKeyInLowerCase) {
  TRegistryCleanupPresenter explaining{
      view_, dispatcher_,
      [this] {
        return std::make_unique<TRegistryCheckThread>(store_, dispatcher_, &recorder_, checks_);
      },
      [this] { return categories_; }, runMode_, drive_.FileSystem(), codePage_, excludedPath_,
      TRegistryCleanupOptions{0, true}};
  explaining.Shown();
  explaining.RunStopClicked();
  explaining.WaitForScan();
  EXPECT_EQ(explaining.WhyFlagged(0), "file C:\\missing.exe: missing") << "the row's tooltip";

  presenter_.Shown();
  Scan();
  presenter_.ViewSelectedClicked();
  EXPECT_EQ(view_.messages, std::vector<std::string>{"Please select an entry first."});
  presenter_.RowSelected(0);
  presenter_.ViewSelectedClicked();
  EXPECT_EQ(view_.editorCalls,
            std::vector<std::string>{"hkey_current_user\\software\\tidewell\\run | gone"});
  view_.editorFound = false;
  presenter_.ViewSelectedClicked();
  EXPECT_EQ(view_.messages.back(), "Can't run Regedit.");
}

TEST_F(RegistryCleanupTest, AutoModeScansDeletesAndClosesOrStaysOpenWhenTheUndoStepFails) {
  runMode_ = kRunModeAutorun;
  view_.visible = false;
  presenter_.Shown();
  EXPECT_TRUE(view_.timerOn);
  presenter_.AfterShowTimer();
  EXPECT_TRUE(view_.timerOn) << "a tick before the window is visible does nothing";
  view_.visible = true;
  presenter_.AfterShowTimer();
  presenter_.WaitForScan();
  dispatcher_.ProcessPending();  // the posted closing
  EXPECT_EQ(view_.closed, 1);
  EXPECT_FALSE(Exists("Software\\Tidewell\\Run", "Gone"));
  EXPECT_FALSE(Exists("Software\\Tidewell\\Orphan"));
  EXPECT_EQ(recorder_.recorded.size(), 4u);
  EXPECT_TRUE(view_.messages.empty());
  EXPECT_FALSE(presenter_.AutoRunFailed());

  // Nothing found: closes at once.
  checks_ = {};
  view_.visible = true;
  presenter_.Shown();
  presenter_.AfterShowTimer();
  presenter_.WaitForScan();
  dispatcher_.ProcessPending();
  EXPECT_EQ(view_.closed, 2);

  // The undo step fails: the message, nothing deleted, the window stays.
  LoadRegistryFixture(store_, kRegistry);
  checks_.CheckSharedDLLs = [](TRegistryCheckThread& engine) {
    engine.AddRegistryError(TRootKey::CurrentUser, "Software\\Tidewell\\Run", "Lost",
                            "C:\\lost.exe", "File not found");
  };
  recorder_.fail = true;
  view_.visible = true;
  presenter_.Shown();
  presenter_.AfterShowTimer();
  presenter_.WaitForScan();
  dispatcher_.ProcessPending();
  EXPECT_EQ(view_.closed, 2);
  EXPECT_EQ(view_.messages, std::vector<std::string>{"Can not save logfile."});
  EXPECT_TRUE(presenter_.AutoRunFailed());
  EXPECT_TRUE(Exists("Software\\Tidewell\\Run", "Lost"));
}

TEST_F(RegistryCleanupTest, StopAndCloseDuringAScanWaitWithoutDeadlock) {
  blockUntilStopped_ = true;
  presenter_.Shown();
  presenter_.RunStopClicked();
  // Let the scan thread report its rows, then stop from the owner thread.
  while (view_.rows.size() < 4) dispatcher_.ProcessPending();
  presenter_.RunStopClicked();
  EXPECT_EQ(view_.status, "Stopped!");
  EXPECT_EQ(view_.Controls(), "1111 000") << "Stopped: rows ticked, total hidden";
  for (const auto& row : view_.rows) EXPECT_TRUE(row.ticked);
  EXPECT_FALSE(presenter_.Busy());

  // Closing during a scan stops it first; in auto mode a stopped scan is
  // not deleted.
  runMode_ = kRunModeAutorun;
  presenter_.RunStopClicked();
  while (view_.rows.size() < 4) dispatcher_.ProcessPending();
  presenter_.CloseRequested();
  EXPECT_TRUE(view_.rows.empty());
  EXPECT_TRUE(recorder_.recorded.empty());
  EXPECT_TRUE(Exists("Software\\Tidewell\\Run", "Gone"));
  EXPECT_EQ(view_.closed, 1);
}

TEST_F(RegistryCleanupTest, AnUnreadableExcludedListIsReportedAndNeverOverwritten) {
  drive_.MakeFile("ExcludedKeys.txt", std::string("K\0e\0y\0", 6));
  EXPECT_FALSE(presenter_.Shown());
  ASSERT_EQ(view_.messages.size(), 1u);
  EXPECT_NE(view_.messages[0].find("ExcludedKeys.txt cannot be read"), std::string::npos);
  presenter_.CloseRequested();
  std::string content;
  ASSERT_TRUE(drive_.FileSystem().ReadWholeFile(excludedPath_, content));
  EXPECT_EQ(content, std::string("K\0e\0y\0", 6));

  runMode_ = kRunModeAutorun;
  presenter_.Shown();
  EXPECT_TRUE(presenter_.AutoRunFailed());
  EXPECT_EQ(view_.closed, 2) << "auto mode does not scan without the list";
  EXPECT_EQ(presenter_.Engine(), nullptr);
}

}  // namespace
}  // namespace tidewell
