// The auto-run window's logic over a fake view (defaults, the settings file,
// RunMode from Back, Run and the title bar) and the help window's buttons
// over a fake shell.
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/AutorunPresenter.h"
#include "app/HelpPresenter.h"
#include "app/RunMode.h"

namespace tidewell {
namespace {

using ::testing::ElementsAre;

class FakeAutorunView final : public TAutorunView {
 public:
  void ShowTasks(int itemIndex) override { tasks = itemIndex; }
  void ShowOnCompletion(int itemIndex) override { completion = itemIndex; }
  void CloseWindow() override { ++closes; }

  int tasks = -1;
  int completion = -1;
  int closes = 0;
};

class AutorunWindowTest : public ::testing::Test {
 protected:
  FakeAutorunView view_;
  std::string runMode_;
  TSettingsFile settings_{kAutorunSettingsStore, kAutorunSettingsSection};
};

TEST_F(AutorunWindowTest, ChoicesStartAtTheFirstItemsAndGoToTheFileInItsFormat) {
  TAutorunPresenter presenter(view_, runMode_, settings_);
  presenter.Created();
  EXPECT_EQ(view_.tasks, 0);
  EXPECT_EQ(view_.completion, 0);

  presenter.TasksClicked(2);
  presenter.OnCompletionClicked(1);
  presenter.StoreSettings();
  EXPECT_EQ(settings_.Text(),
            "[frmAutorun]\r\nrgTasks.ItemIndex=2\r\nrgOnCompletion.ItemIndex=1\r\n\r\n");

  // The next start shows them again; an index the group lacks is ignored.
  TSettingsFile next{kAutorunSettingsStore, kAutorunSettingsSection};
  ASSERT_TRUE(next.LoadText(settings_.Text()).empty());
  FakeAutorunView view;
  TAutorunPresenter again(view, runMode_, next);
  again.Created();
  EXPECT_EQ(view.tasks, 2);
  EXPECT_EQ(view.completion, 1);

  next.LoadText("[frmAutorun]\r\nrgTasks.ItemIndex=3\r\nrgOnCompletion.ItemIndex=-1\r\n");
  TAutorunPresenter garbled(view, runMode_, next);
  garbled.Created();
  EXPECT_EQ(view.tasks, 0);
  EXPECT_EQ(view.completion, 0);
}

TEST_F(AutorunWindowTest, BackClearsRunModeRunSetsItAndTheTitleBarLeavesIt) {
  TAutorunPresenter presenter(view_, runMode_, settings_);
  presenter.Created();
  runMode_ = kRunModeNext;
  presenter.RunClicked();
  EXPECT_EQ(runMode_, kRunModeAutorun);
  presenter.CloseRequested();
  EXPECT_EQ(runMode_, kRunModeAutorun);
  presenter.BackClicked();
  EXPECT_EQ(runMode_, "");
  // Each closing keeps the choice for the program's end.
  presenter.OnCompletionClicked(2);
  presenter.CloseRequested();
  EXPECT_EQ(runMode_, "");
  EXPECT_EQ(view_.closes, 4);
  EXPECT_EQ(settings_.ReadInteger(kOnCompletionSettingName, -1), 2);
}

class RecordingShell final : public TShell {
 public:
  std::unique_ptr<TStartedProgram> OpenDocument(const std::string& file,
                                                const std::string& folder) override {
    opened.push_back(file + "|" + folder);
    return nullptr;  // no browser or mail program: nothing to report
  }
  std::vector<std::string> opened;
};

TEST(HelpWindow, ButtonsOpenTheFaqPageAndANewMailAndShowTheAddresses) {
  RecordingShell shell;
  THelpPresenter presenter(shell);
  presenter.FaqClicked();
  presenter.EmailClicked();
  EXPECT_THAT(shell.opened, ElementsAre("https://www.tidewell.example/faq/|",
                                        "mailto:support@tidewell.example|"));
  EXPECT_EQ(THelpPresenter::FaqToolTip(), "https://www.tidewell.example/faq/");
  EXPECT_EQ(THelpPresenter::EmailToolTip(), "support@tidewell.example");
}

}  // namespace
}  // namespace tidewell
