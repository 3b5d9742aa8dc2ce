// The backup window's behaviour through a view that records what it is told.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/RegistryBackupPresenter.h"

namespace tidewell {
namespace {

using Events = std::vector<std::string>;

class RecordingView : public TRegistryBackupView {
 public:
  void SetButtonsEnabled(bool enabled) override {
    events.push_back(enabled ? "enable" : "disable");
  }
  void ShowMessage(const std::string& text) override { events.push_back("message " + text); }
  void StartAfterShowTimer() override { events.push_back("start timer"); }
  void StopAfterShowTimer() override { events.push_back("stop timer"); }
  bool IsVisible() override { return visible; }
  void Close() override { events.push_back("close"); }

  bool visible = true;
  Events events;
};

class RegistryBackupWindow : public ::testing::Test {
 protected:
  RecordingView view;
  bool autoMode = false;
  TRegistryBackupResult result{true, "20051108102832.reg", "C:\\T\\registrybackups\\20051108102832.reg"};
  TRegistryBackupPresenter presenter{view,
                                     [this] {
                                       view.events.push_back("backup");
                                       return result;
                                     },
                                     [this] { return autoMode; }};
};

TEST_F(RegistryBackupWindow, RunBacksUpWithButtonsOffAndTellsTheOutcome) {
  presenter.Shown();
  presenter.RunClicked();
  EXPECT_EQ(view.events, (Events{"disable", "backup",
                                 "message Registry was successfully backed up to 20051108102832.reg",
                                 "enable"}));

  view.events.clear();
  result.Succeeded = false;
  presenter.RunClicked();
  EXPECT_EQ(view.events,
            (Events{"disable", "backup", "message Error backing up the registry!", "enable"}));

  view.events.clear();
  presenter.BackClicked();
  EXPECT_EQ(view.events, Events{"close"});
}

TEST_F(RegistryBackupWindow, AutoModeStartsAfterShowingKeepsQuietOnSuccessAndCloses) {
  autoMode = true;
  presenter.Shown();
  EXPECT_EQ(view.events, Events{"start timer"});

  view.events.clear();
  presenter.AfterShowTimer();
  EXPECT_EQ(view.events, (Events{"stop timer", "disable", "backup", "enable", "close"}));
  EXPECT_FALSE(presenter.LastRunFailed());

  // A failure is still shown, and waited for, before the window closes; the
  // chain learns of it afterwards.
  view.events.clear();
  result.Succeeded = false;
  presenter.AfterShowTimer();
  EXPECT_EQ(view.events, (Events{"stop timer", "disable", "backup",
                                 "message Error backing up the registry!", "enable", "close"}));
  EXPECT_TRUE(presenter.LastRunFailed());
  presenter.Shown();
  EXPECT_FALSE(presenter.LastRunFailed()) << "a new showing starts afresh";

  // The timer of a window hidden meanwhile does nothing but stop.
  view.events.clear();
  view.visible = false;
  presenter.AfterShowTimer();
  EXPECT_EQ(view.events, Events{"stop timer"});
}

TEST(RegistryBackupInstructions, FourParagraphsWithRunInOrangeAndTheFolderInBlue) {
  const auto paragraphs = RegistryBackupInstructions("C:\\Program Files\\T\\registrybackups\\");
  ASSERT_EQ(paragraphs.size(), 4u);
  std::vector<std::string> texts;
  for (const auto& runs : paragraphs) {
    std::string text;
    for (const TTextRun& run : runs) {
      if (run.Style == TTextRun::TStyle::RunWord) text += "<orange>";
      if (run.Style == TTextRun::TStyle::Folder) text += "<blue>";
      text += run.Text;
    }
    texts.push_back(text);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "For safety reasons you do wise in backing up your registry on a regular basis.",
                       "To back up the registry click the <orange>Run button.",
                       "The backup file, which is named after the date of backup, will be saved "
                       "to:\n<blue>C:\\Program Files\\T\\registrybackups\\",
                       "To restore the registry to a previous state double-click the desired "
                       "backup file."}));
}

}  // namespace
}  // namespace tidewell
