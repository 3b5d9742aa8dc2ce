// The cleanup settings window's logic over a fake view: the group gate, the
// flags handed to the engine, RunMode, the settings lines, and the "..."
// button's editor with a fake shell.
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/CleanupSettingsPresenter.h"
#include "app/CleanupSettingsTexts.h"
#include "scan/RegistryWork.h"
#include "tests/platform/TestDrive.h"

namespace tidewell {
namespace {

class FakeView final : public TCleanupSettingsView {
 public:
  void ShowTick(TCleanupBox box, bool ticked) override {
    ticks[static_cast<int>(box)] = ticked;
  }
  void ShowGroupTick(bool ticked) override { groupTick = ticked; }
  void EnableSoftwareBoxes(bool enabled) override { softwareEnabled = enabled; }
  void CloseWindow() override { ++closes; }

  bool ticks[kCleanupBoxCount] = {};
  bool groupTick = false;
  bool softwareEnabled = false;
  int closes = 0;
};

// An editor that runs until the test ends it.
class FakeShell final : public TShell {
 public:
  class Program final : public TStartedProgram {
   public:
    explicit Program(std::atomic<bool>& ended) : ended_(ended) {}
    bool WaitForEnd(int milliseconds) override {
      if (!ended_) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds / 10));
      return ended_;
    }

   private:
    std::atomic<bool>& ended_;
  };

  std::unique_ptr<TStartedProgram> OpenDocument(const std::string& file,
                                                const std::string& folder) override {
    ++starts;
    opened = folder + file;
    if (!canStart) return nullptr;
    ended = false;
    return std::make_unique<Program>(ended);
  }

  std::atomic<int> starts{0};
  std::string opened;
  bool canStart = true;
  std::atomic<bool> ended{false};
};

class CleanupSettingsTest : public ::testing::Test {
 protected:
  testing::TestDrive drive_;
  std::string folder_ = drive_.Root() + "\\";
  FakeView view_;
  FakeShell shell_;
  TExcludedKeysEditor editor_{drive_.FileSystem(), shell_};
  std::string runMode_;
  TSettingsFile settings_ = MakeCleanupSettingsStore();
  TCleanupSettingsPresenter presenter_{view_, runMode_, settings_, editor_, folder_};
};

TEST_F(CleanupSettingsTest, TheGroupBoxGatesTheSevenWithoutUntickingThem) {
  presenter_.Created();
  for (bool tick : view_.ticks) EXPECT_TRUE(tick);
  EXPECT_TRUE(view_.groupTick);
  EXPECT_TRUE(view_.softwareEnabled);
  EXPECT_EQ(presenter_.Categories(), 511);

  presenter_.GroupBoxClicked(false);
  EXPECT_FALSE(view_.softwareEnabled);
  EXPECT_TRUE(presenter_.Checks().chkSounds) << "the ticks inside stay";
  EXPECT_EQ(presenter_.Categories(), cfClassesSection | cfFileList);

  presenter_.BoxClicked(TCleanupBox::ClassesSection, false);
  presenter_.BoxClicked(TCleanupBox::ClearFileList, false);
  EXPECT_EQ(presenter_.Categories(), 0);

  presenter_.GroupBoxClicked(true);
  presenter_.BoxClicked(TCleanupBox::Sounds, false);
  EXPECT_TRUE(view_.softwareEnabled);
  EXPECT_EQ(presenter_.Categories(), cfSharedDlls | cfFileAssociations | cfStartupRun |
                                         cfAppPaths | cfHelp | cfFonts);
  for (int i = 0; i < kCleanupBoxCount; ++i) {
    presenter_.BoxClicked(static_cast<TCleanupBox>(i), false);
  }
  EXPECT_EQ(presenter_.Categories(), 0) << "every box clear is the empty set";
}

TEST_F(CleanupSettingsTest, BackNextAndTheTitleBarCloseAndStoreTheTenLines) {
  // A file from elsewhere: a garbled line, a line of no box, another order.
  settings_.LoadText("[frmCleanupSettings]\r\nchkClearSoftware.Checked=False\r\n"
                     "chkSounds.Checked=Maybe\r\nchkFonts.Checked=False\r\n");
  presenter_.Created();
  EXPECT_FALSE(view_.ticks[static_cast<int>(TCleanupBox::Fonts)]);
  EXPECT_TRUE(view_.ticks[static_cast<int>(TCleanupBox::Sounds)]) << "garbled: default";

  runMode_ = "Next";
  presenter_.CloseRequested();
  EXPECT_EQ(runMode_, "Next") << "the title bar leaves RunMode alone";
  presenter_.BackClicked();
  EXPECT_EQ(runMode_, "Back");
  presenter_.GroupBoxClicked(false);
  presenter_.NextClicked();
  EXPECT_EQ(runMode_, "Next");
  EXPECT_EQ(view_.closes, 3);
  EXPECT_EQ(settings_.Text(),
            "[frmCleanupSettings]\r\n"
            "chkAPPPath.Checked=True\r\n"
            "chkClassesSection.Checked=True\r\n"
            "chkClearFileList.Checked=True\r\n"
            "chkFonts.Checked=False\r\n"
            "chkHelp.Checked=True\r\n"
            "chkInvalidFileAssociations.Checked=True\r\n"
            "chkSharedDLL.Checked=True\r\n"
            "chkSounds.Checked=True\r\n"
            "chkWinStartup.Checked=True\r\n"
            "gbClearSoftware.CheckBoxChecked=False\r\n"
            "\r\n");
}

TEST_F(CleanupSettingsTest, TheEllipsisCreatesTheListAndStartsOneEditorAtATime) {
  const std::string path = drive_.Path("ExcludedKeys.txt");
  ASSERT_FALSE(drive_.FileSystem().FileExists(path));
  EXPECT_TRUE(presenter_.ExcludedKeysClicked());
  std::string bytes = "x";
  ASSERT_TRUE(drive_.FileSystem().ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes, "") << "created empty";
  EXPECT_EQ(shell_.opened, folder_ + "ExcludedKeys.txt");

  // While the editor runs, further clicks do nothing.
  EXPECT_FALSE(presenter_.ExcludedKeysClicked());
  EXPECT_EQ(shell_.starts, 1);

  shell_.ended = true;
  for (int i = 0; i < 500 && editor_.EditorRunning(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_FALSE(editor_.EditorRunning());
  drive_.MakeFile("ExcludedKeys.txt", "Office\r\n");
  EXPECT_TRUE(presenter_.ExcludedKeysClicked());
  EXPECT_EQ(shell_.starts, 2);
  ASSERT_TRUE(drive_.FileSystem().ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes, "Office\r\n") << "an existing list is left as it is";
  shell_.ended = true;
}

TEST_F(CleanupSettingsTest, AFailedStartShowsNothingAndTheNextClickTriesAgain) {
  shell_.canStart = false;
  EXPECT_FALSE(presenter_.ExcludedKeysClicked());
  for (int i = 0; i < 500 && editor_.EditorRunning(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_FALSE(presenter_.ExcludedKeysClicked());
  EXPECT_EQ(shell_.starts, 2);
}

TEST(CleanupSettingsTexts, EveryHighlightStandsInTheInstructionText) {
  ASSERT_EQ(CleanupInstructionParagraphs().size(), 5u);
  std::string all;
  for (const std::string& paragraph : CleanupInstructionParagraphs()) all += paragraph + "\n";
  for (const std::string& word : CleanupInstructionHighlights()) {
    EXPECT_NE(all.find(word), std::string::npos) << word;
  }
  EXPECT_STREQ(CleanupBoxCaption(TCleanupBox::InvalidFileAssociations),
               "Invalid Files Associations");
}

}  // namespace
}  // namespace tidewell
