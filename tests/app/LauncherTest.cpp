// What the launcher's buttons open, how the cleanup button follows the
// settings window's RunMode, and the auto-run chain: which windows it shows,
// the request it ends with, and what a failed step changes.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/Launcher.h"
#include "app/RunMode.h"

namespace tidewell {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Records what was shown and asked, in one list; the settings and auto-run
// windows leave their choice in RunMode as the real ones do (nullptr: closed
// by the title bar, which leaves RunMode alone).
class FakeWindows : public TLauncherWindows {
 public:
  explicit FakeWindows(std::string& runMode) : runMode_(runMode) {}
  void ShowModal(TFormKind form) override {
    shown.push_back(form);
    if (form == TFormKind::CleanupSettings && !settingsChoice.empty()) {
      runMode_ = settingsChoice;
    }
    if (form == TFormKind::Autorun && autorunChoice != nullptr) runMode_ = autorunChoice;
    // A task window of the chain sees RunMode while it works.
    if (form != TFormKind::Autorun) modeWhileShown.push_back(runMode_);
  }
  void CloseMain() override { ++closes; }
  TAutorunChoice AutorunChoice() override { return choice; }
  bool AutoRunFailed(TFormKind form) override { return failing.count(form) > 0; }
  void ProcessMessages() override { ++messageRounds; }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }

  std::vector<TFormKind> shown;
  std::vector<std::string> modeWhileShown;
  std::string settingsChoice;
  const char* autorunChoice = kRunModeAutorun;
  TAutorunChoice choice;
  std::set<TFormKind> failing;
  int messageRounds = 0;
  std::vector<std::string> messages;
  int closes = 0;

 private:
  std::string& runMode_;
};

class RecordingShutdown : public TShutdownSystem {
 public:
  bool IsNtFamily() override { return true; }
  bool EnableShutdownPrivilege() override { return true; }
  bool RequestExitWindows(std::uint32_t flags) override {
    requests.push_back(flags);
    return accepted;
  }

  bool accepted = true;
  std::vector<std::uint32_t> requests;
};

class LauncherTest : public ::testing::Test {
 protected:
  std::string runMode_;
  FakeWindows windows_{runMode_};
  RecordingShutdown shutdown_;
  TExitWin exitWin_{shutdown_};
  TLauncher launcher_{windows_, runMode_, exitWin_};
};

TEST_F(LauncherTest, EachTaskButtonOpensItsWindowOnce) {
  windows_.autorunChoice = "";  // "Back" in the auto-run window
  launcher_.Click(TMainButton::RegistryBackup);
  launcher_.Click(TMainButton::RegistryDefrag);
  launcher_.Click(TMainButton::Autorun);
  launcher_.Click(TMainButton::UndoCleanups);
  launcher_.Click(TMainButton::Help);
  EXPECT_THAT(windows_.shown,
              ElementsAre(TFormKind::RegistryBackup, TFormKind::RegistryDefrag,
                          TFormKind::Autorun, TFormKind::RegistryUndo,
                          TFormKind::Help));
  EXPECT_THAT(shutdown_.requests, IsEmpty());
  EXPECT_EQ(windows_.closes, 0);
}

TEST_F(LauncherTest, CleanupGoesOnToTheCleanupWindowAfterNext) {
  windows_.settingsChoice = kRunModeNext;
  launcher_.Click(TMainButton::RegistryCleanup);
  EXPECT_THAT(windows_.shown, ElementsAre(TFormKind::CleanupSettings,
                                          TFormKind::RegistryCleanup));
}

TEST_F(LauncherTest, CleanupStopsAfterBack) {
  windows_.settingsChoice = kRunModeBack;
  launcher_.Click(TMainButton::RegistryCleanup);
  EXPECT_THAT(windows_.shown, ElementsAre(TFormKind::CleanupSettings));
}

TEST_F(LauncherTest, SettingsClosedByTitleBarKeepsTheEarlierChoice) {
  windows_.settingsChoice = kRunModeNext;
  launcher_.Click(TMainButton::RegistryCleanup);
  windows_.shown.clear();
  windows_.settingsChoice.clear();  // closed by the title bar
  launcher_.Click(TMainButton::RegistryCleanup);
  EXPECT_THAT(windows_.shown, ElementsAre(TFormKind::CleanupSettings,
                                          TFormKind::RegistryCleanup));

  windows_.settingsChoice = kRunModeBack;
  launcher_.Click(TMainButton::RegistryCleanup);
  windows_.shown.clear();
  windows_.settingsChoice.clear();
  launcher_.Click(TMainButton::RegistryCleanup);
  EXPECT_THAT(windows_.shown, ElementsAre(TFormKind::CleanupSettings));
}

TEST_F(LauncherTest, AutorunInRunModeDoesNotOpenTheCleanupWindow) {
  runMode_ = kRunModeAutorun;
  launcher_.Click(TMainButton::RegistryCleanup);
  EXPECT_THAT(windows_.shown, ElementsAre(TFormKind::CleanupSettings));
}

TEST_F(LauncherTest, ExitClosesTheMainWindowAndOpensNothing) {
  launcher_.Click(TMainButton::Exit);
  EXPECT_EQ(windows_.closes, 1);
  EXPECT_THAT(windows_.shown, IsEmpty());
}

TEST_F(LauncherTest, EachTaskChoiceShowsItsWindowsInOrderAndEndsWithTheChosenRequest) {
  struct Case {
    TAutorunTasks tasks;
    TAutorunCompletion completion;
    std::vector<TFormKind> windows;
    std::uint32_t flags;
  };
  const Case cases[] = {
      {TAutorunTasks::BackupCleanupDefrag, TAutorunCompletion::Restart,
       {TFormKind::Autorun, TFormKind::RegistryBackup, TFormKind::RegistryCleanup,
        TFormKind::RegistryDefrag},
       0x2 | 0x4},
      {TAutorunTasks::BackupCleanup, TAutorunCompletion::ShutDown,
       {TFormKind::Autorun, TFormKind::RegistryBackup, TFormKind::RegistryCleanup},
       0x1 | 0x4},
      {TAutorunTasks::Backup, TAutorunCompletion::PowerOff,
       {TFormKind::Autorun, TFormKind::RegistryBackup},
       0x8 | 0x4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.tasks));
    windows_.shown.clear();
    windows_.modeWhileShown.clear();
    shutdown_.requests.clear();
    windows_.messageRounds = 0;
    runMode_.clear();
    windows_.choice = {c.tasks, c.completion};
    // The cleanup window of a scan that found nothing closes at once,
    // without failing: the chain goes on all the same.
    launcher_.Click(TMainButton::Autorun);
    EXPECT_EQ(windows_.shown, c.windows);
    EXPECT_THAT(windows_.modeWhileShown, ::testing::Each(std::string(kRunModeAutorun)));
    EXPECT_EQ(windows_.messageRounds, static_cast<int>(c.windows.size()) - 1)
        << "pending messages handled after each task window";
    EXPECT_THAT(shutdown_.requests, ElementsAre(c.flags));
    EXPECT_THAT(windows_.messages, IsEmpty());
  }

  // A refused request is not reported; RunMode stays "Autorun".
  shutdown_.accepted = false;
  launcher_.Click(TMainButton::Autorun);
  EXPECT_THAT(windows_.messages, IsEmpty());
  EXPECT_EQ(runMode_, kRunModeAutorun);
}

TEST_F(LauncherTest, OnlyRunInTheAutorunWindowStartsTheChain) {
  windows_.autorunChoice = "";  // "Back"
  launcher_.Click(TMainButton::Autorun);
  EXPECT_THAT(windows_.shown, ElementsAre(TFormKind::Autorun));

  // Closed by the title bar: RunMode as it was decides.
  windows_.autorunChoice = nullptr;
  runMode_ = kRunModeNext;
  launcher_.Click(TMainButton::Autorun);
  runMode_ = kRunModeAutorun;
  launcher_.Click(TMainButton::Autorun);
  EXPECT_THAT(windows_.shown, ElementsAre(TFormKind::Autorun, TFormKind::Autorun,
                                          TFormKind::Autorun, TFormKind::RegistryBackup,
                                          TFormKind::RegistryCleanup,
                                          TFormKind::RegistryDefrag));
  EXPECT_EQ(shutdown_.requests.size(), 1u);
}

TEST_F(LauncherTest, AFailedStepKeepsTheMachineRunningAndSaysWhichStepFailed) {
  // A failed backup: the chain still goes on, but ends with the message.
  windows_.choice = {TAutorunTasks::BackupCleanupDefrag, TAutorunCompletion::PowerOff};
  windows_.failing = {TFormKind::RegistryBackup};
  launcher_.Click(TMainButton::Autorun);
  EXPECT_THAT(windows_.shown,
              ElementsAre(TFormKind::Autorun, TFormKind::RegistryBackup,
                          TFormKind::RegistryCleanup, TFormKind::RegistryDefrag));
  EXPECT_THAT(shutdown_.requests, IsEmpty());
  EXPECT_THAT(windows_.messages,
              ElementsAre("Auto Run did not finish: the registry backup failed.\n\n"
                          "The computer has not been powered off, so that you can see what "
                          "went wrong."));
  EXPECT_EQ(runMode_, "") << "the task windows no longer start by themselves";

  // Each failed step is named; any of them stops the request.
  windows_.messages.clear();
  windows_.failing = {TFormKind::RegistryCleanup, TFormKind::RegistryDefrag};
  launcher_.Click(TMainButton::Autorun);
  EXPECT_THAT(shutdown_.requests, IsEmpty());
  EXPECT_THAT(windows_.messages,
              ElementsAre(::testing::StartsWith(
                  "Auto Run did not finish: the registry cleanup and the registry defrag "
                  "failed.")));

  // A step the choice leaves out cannot fail the chain.
  windows_.messages.clear();
  windows_.choice = {TAutorunTasks::BackupCleanup, TAutorunCompletion::ShutDown};
  windows_.failing = {TFormKind::RegistryDefrag};
  launcher_.Click(TMainButton::Autorun);
  EXPECT_THAT(windows_.messages, IsEmpty());
  EXPECT_THAT(shutdown_.requests, ElementsAre(0x1u | 0x4u));
}

}  // namespace
}  // namespace tidewell
