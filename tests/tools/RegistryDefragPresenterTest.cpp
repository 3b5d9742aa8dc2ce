// The compaction window's behaviour through a recording view: the status
// texts, the buttons, the restart question and its way to ExitWin, and the
// automatic run.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ExitWin.h"
#include "tests/tools/DefragFakes.h"
#include "tools/RegistryDefragPresenter.h"

namespace tidewell {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::DefragBed;

class RecordingView : public TRegistryDefragView {
 public:
  void ChangeStatus(int image, const std::string& text) override {
    statuses.push_back(std::to_string(image) + " " + text);
  }
  void SetProgress(int value) override { progress = value; }
  void ShowProgress(bool shown) override { progressShown = shown; }
  void SetRunEnabled(bool enabled) override { runEnabled = enabled; }
  void SetBackEnabled(bool enabled) override { backEnabled = enabled; }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  bool AskYesNo(const std::string& text) override {
    questions.push_back(text);
    return answerYes;
  }
  void StartAfterShowTimer() override { timer = true; }
  void StopAfterShowTimer() override { timer = false; }
  bool IsVisible() override { return true; }
  void Close() override { ++closes; }

  std::vector<std::string> statuses, messages, questions;
  int progress = -1, closes = 0;
  bool progressShown = true, runEnabled = false, backEnabled = false, timer = false;
  bool answerYes = false;
};

class RecordingShutdown : public TShutdownSystem {
 public:
  bool IsNtFamily() override { return true; }
  bool EnableShutdownPrivilege() override { return true; }
  bool RequestExitWindows(std::uint32_t flags) override {
    requests.push_back(flags);
    return true;
  }
  std::vector<std::uint32_t> requests;
};

// The window's logic over a bed the test has prepared first (the old size is
// measured when the compaction object is made).
struct Window {
  explicit Window(DefragBed& bed, bool autoRun = false)
      : defrag(bed.System(), "Tidewell"),
        presenter(
            view, defrag, [this] { exitWin.Execute(); }, [autoRun] { return autoRun; },
            [] { return ","; }) {}
  TRegistryDefrag defrag;
  RecordingView view;
  RecordingShutdown shutdown;
  TExitWin exitWin{shutdown};
  TRegistryDefragPresenter presenter;
};

TEST(RegistryDefragTextsTest, SizesAndRatiosReadAsTheUserExpects) {
  EXPECT_EQ(CurrentSizeText(1048575), "Current registry size: 1023 KB");
  EXPECT_EQ(CurrentSizeText(5ULL << 40), "Current registry size: 5368709120 KB");
  EXPECT_EQ(DoneText(853, 1000, ",", {}), "Done! Ratio: 85,3 %");
  EXPECT_EQ(DoneText(853, 1000, ".", {}), "Done! Ratio: 85.3 %");
  EXPECT_EQ(RatioText(5, 1000, "."), ".5");
  EXPECT_EQ(RatioText(1200, 1000, "."), "120");
  EXPECT_EQ(RatioText(0, 1000, "."), "0");
  EXPECT_EQ(RatioText(2ULL << 32, 4ULL << 32, "."), "50") << "sizes past 32 bits";
  EXPECT_EQ(RatioText(9ULL << 60, 10ULL << 60, "."), "90");
  EXPECT_EQ(DoneText(500, 0, ".", {}), "Done! Ratio: n/a");
  EXPECT_EQ(DoneText(900, 1000, ".", {"SYSTEM", "SAM"}),
            "Done! Ratio: 90 % - not replaced, saved file too small: SYSTEM, SAM");
}

TEST(RegistryDefragPresenterTest, ARunReportsTheRatioAndAsksBeforeRestarting) {
  DefragBed bed;
  bed.drive.MakeFile("Windows\\System32\\Config\\software", std::string(1500, 's'));
  bed.drive.MakeFile("Windows\\System32\\Config\\SAM", std::string(500, 'a'));
  bed.store.saveSizes = {{"SOFTWARE", 1706}};
  Window w(bed);
  TRegistryDefragPresenter& presenter = w.presenter;
  presenter.Shown();
  EXPECT_THAT(w.view.statuses, ElementsAre("1 Current registry size: 1 KB"));
  EXPECT_TRUE(w.view.runEnabled);
  EXPECT_FALSE(w.view.timer);

  presenter.RunClicked();
  EXPECT_THAT(w.view.statuses,
              ElementsAre("1 Current registry size: 1 KB", "0 Working ...",
                          "1 Done! Ratio: 85,3 %"));
  EXPECT_THAT(w.view.questions,
              ElementsAre("Defragmentation of Windows Registry is finished. \r\n"
                          "Do you want reboot your system now?"));
  EXPECT_THAT(w.shutdown.requests, IsEmpty()) << "the answer was No";
  EXPECT_FALSE(w.view.runEnabled);
  EXPECT_TRUE(w.view.backEnabled);
  EXPECT_FALSE(w.view.progressShown);
  EXPECT_EQ(w.view.progress, 0);
  EXPECT_FALSE(presenter.RunFailed());

  bed.store.journal.clear();
  presenter.RunClicked();
  EXPECT_THAT(bed.store.journal, IsEmpty()) << "one run per showing";

  w.view.answerYes = true;
  bed.info.bootTime += 3600;
  presenter.Shown();
  EXPECT_TRUE(w.view.runEnabled);
  presenter.RunClicked();
  EXPECT_THAT(w.shutdown.requests, ElementsAre(ewx::Reboot | ewx::Force));
}

TEST(RegistryDefragPresenterTest, NoAccessAndPendingReplacementEndTheRunWithoutAQuestion) {
  DefragBed bed;
  bed.drive.MakeFile("Temp", "a file where the temporary folder should be");
  Window w(bed);
  w.presenter.Shown();
  w.presenter.RunClicked();
  EXPECT_THAT(w.view.messages,
              ElementsAre("You must have administrative access for Windows Registry "
                          "defragmentation."));
  EXPECT_THAT(w.view.questions, IsEmpty());
  EXPECT_TRUE(w.view.runEnabled && w.view.backEnabled);
  EXPECT_EQ(w.view.statuses.back(), "1 Current registry size: 0 KB");
  EXPECT_TRUE(w.presenter.RunFailed());

  DefragBed pendingBed;
  pendingBed.store.saveSizes = {{"SOFTWARE", 100}};
  Window pending(pendingBed);
  pending.presenter.Shown();
  pending.presenter.RunClicked();
  EXPECT_EQ(pending.view.statuses.back(), "1 Done! Ratio: n/a");
  pending.presenter.Shown();
  pending.presenter.RunClicked();
  EXPECT_EQ(pending.view.statuses.back(), std::string("1 ") + kDefragPendingText);
  EXPECT_EQ(pending.view.questions.size(), 1u);
  EXPECT_FALSE(pending.presenter.RunFailed());
}

TEST(RegistryDefragPresenterTest, AutoModeRunsAfterTheTimerAndClosesWithoutAsking) {
  DefragBed bed;
  Window w(bed, true);
  w.presenter.Shown();
  EXPECT_TRUE(w.view.timer);
  EXPECT_THAT(bed.store.journal, IsEmpty());
  w.presenter.AfterShowTimer();
  EXPECT_FALSE(w.view.timer);
  EXPECT_THAT(bed.store.journal, Contains("save SOFTWARE"));
  EXPECT_THAT(w.view.questions, IsEmpty());
  EXPECT_EQ(w.view.closes, 1);
  EXPECT_TRUE(w.presenter.RunFailed()) << "SOFTWARE was not saved: nothing scheduled";
}

}  // namespace
}  // namespace tidewell
