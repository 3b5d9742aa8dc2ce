// What the launcher's buttons open, and how the cleanup button follows the
// settings window's RunMode.
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

// Records what was shown; the settings window leaves `settingsChoice` in
// RunMode as the real one does (empty: closed by its title bar).
class FakeWindows : public TLauncherWindows {
 public:
  explicit FakeWindows(std::string& runMode) : runMode_(runMode) {}
  void ShowModal(TFormKind form) override {
    shown.push_back(form);
    if (form == TFormKind::CleanupSettings && !settingsChoice.empty()) {
      runMode_ = settingsChoice;
    }
  }
  void CloseMain() override { ++closes; }

  std::vector<TFormKind> shown;
  std::string settingsChoice;
  int closes = 0;

 private:
  std::string& runMode_;
};

class LauncherTest : public ::testing::Test {
 protected:
  std::string runMode_;
  FakeWindows windows_{runMode_};
  TLauncher launcher_{windows_, runMode_};
};

TEST_F(LauncherTest, EachTaskButtonOpensItsWindowOnce) {
  launcher_.Click(TMainButton::RegistryBackup);
  launcher_.Click(TMainButton::RegistryDefrag);
  launcher_.Click(TMainButton::Autorun);
  launcher_.Click(TMainButton::UndoCleanups);
  launcher_.Click(TMainButton::Help);
  EXPECT_THAT(windows_.shown,
              ElementsAre(TFormKind::RegistryBackup, TFormKind::RegistryDefrag,
                          TFormKind::Autorun, TFormKind::RegistryUndo,
                          TFormKind::Help));
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

}  // namespace
}  // namespace tidewell
