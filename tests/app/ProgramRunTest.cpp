// The order of the program's start and end, of the main window's creation
// steps, and of the start-up privileges.
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/MainWindowSetup.h"
#include "app/ProgramRun.h"
#include "app/StartupPrivileges.h"

namespace tidewell {
namespace {

using ::testing::ElementsAre;

class RecordingHost : public TProgramHost {
 public:
  void SetUpFolderSet() override { steps.push_back("folders"); }
  void InitializeCom() override { steps.push_back("com"); }
  void CreateUndoWriter() override { steps.push_back("undo"); }
  void SetTitle(const char* title) override {
    steps.push_back(std::string("title ") + title);
  }
  bool CreateForm(TFormKind form) override {
    steps.push_back(FormClassName(form));
    return !(form == TFormKind::Main && secondInstance);
  }
  void RunMessageLoop() override { steps.push_back("loop"); }
  void DestroyForms() override { steps.push_back("destroy"); }
  void DestroyUndoWriter() override { steps.push_back("close undo"); }
  void ReleaseCom() override { steps.push_back("release com"); }

  std::vector<std::string> steps;
  bool secondInstance = false;
};

TEST(ProgramRunTest, StartsTheSharedStateThenTheEightWindowsThenTheLoop) {
  RecordingHost host;
  EXPECT_EQ(RunProgram(host), 0);
  EXPECT_THAT(host.steps,
              ElementsAre("folders", "com", "undo", "title Tidewell",
                          "TfrmMain", "TfrmAutorun", "TfrmCleanupSettings",
                          "TfrmHelp", "TfrmRegistryBackup",
                          "TfrmRegistryCleanup", "TfrmRegistryDefrag",
                          "TfrmRegistryUndo", "loop", "destroy", "close undo",
                          "release com"));
}

TEST(ProgramRunTest, ASecondInstanceEndsAfterTheMainWindowWithoutALoop) {
  RecordingHost host;
  host.secondInstance = true;
  RunProgram(host);
  EXPECT_THAT(host.steps,
              ElementsAre("folders", "com", "undo", "title Tidewell",
                          "TfrmMain", "destroy", "close undo", "release com"));
}

class RecordingSetup : public TMainWindowSetup {
 public:
  bool SingleInstanceGuard() override {
    steps.push_back("guard");
    return alone;
  }
  void RunOnceCleanup() override { steps.push_back("run once"); }
  void SetIconFromApplication() override { steps.push_back("icon"); }
  void SetCaption(const std::string& caption) override {
    steps.push_back("caption [" + caption + "]");
  }
  void EnablePrivileges() override { steps.push_back("privileges"); }
  void SetApplicationFolder() override { steps.push_back("folder"); }
  void WriteRegistryNote() override { steps.push_back("note"); }

  std::vector<std::string> steps;
  bool alone = true;
};

TEST(MainWindowSetupTest, GuardsThenCleansUpThenSetsItselfUp) {
  RecordingSetup setup;
  EXPECT_TRUE(CreateMainWindow(setup, "Tidewell", "2.0.0.0"));
  EXPECT_THAT(setup.steps,
              ElementsAre("guard", "run once", "icon",
                          "caption [  Tidewell 2.0.0.0]", "privileges",
                          "folder", "note"));
}

TEST(MainWindowSetupTest, ASecondInstanceChangesNothing) {
  RecordingSetup setup;
  setup.alone = false;
  EXPECT_FALSE(CreateMainWindow(setup, "Tidewell", "2.0.0.0"));
  EXPECT_THAT(setup.steps, ElementsAre("guard"));
}

TEST(StartupPrivilegesTest, EnablesTheFourInOrder) {
  std::vector<std::string> asked;
  EXPECT_EQ(EnableStartupPrivileges(
                [&](const std::string& name) { asked.push_back(name); }),
            4);
  EXPECT_THAT(asked, ElementsAre("SeRestorePrivilege", "SeBackupPrivilege",
                                 "SeTakeOwnershipPrivilege",
                                 "SeShutdownPrivilege"));
}

TEST(StartupPrivilegesTest, StopsSilentlyAtTheFirstRefusal) {
  std::vector<std::string> asked;
  const int enabled = EnableStartupPrivileges([&](const std::string& name) {
    asked.push_back(name);
    if (name == "SeBackupPrivilege") {
      throw std::runtime_error("Not all privileges or groups referenced are "
                               "assigned to the caller.");
    }
  });
  EXPECT_EQ(enabled, 1);
  EXPECT_THAT(asked, ElementsAre("SeRestorePrivilege", "SeBackupPrivilege"));
}

TEST(StartupPrivilegesTest, AnAccountWithoutRestoreGetsNoneNotEvenShutdown) {
  std::vector<std::string> asked;
  EXPECT_EQ(EnableStartupPrivileges([&](const std::string& name) {
              asked.push_back(name);
              throw std::runtime_error("refused");
            }),
            0);
  EXPECT_THAT(asked, ElementsAre("SeRestorePrivilege"));
}

}  // namespace
}  // namespace tidewell
