// ExitWin asks for the forced action it was given, and enables the shutdown
// privilege itself on the NT family first.
#include <cstdint>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/ExitWin.h"

namespace tidewell {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class RecordingShutdown : public TShutdownSystem {
 public:
  bool IsNtFamily() override { return nt; }
  bool EnableShutdownPrivilege() override {
    calls.push_back("privilege");
    return privilegeGranted;
  }
  bool RequestExitWindows(std::uint32_t flags) override {
    calls.push_back("exit");
    requests.push_back(flags);
    return accepted;
  }

  bool nt = true;
  bool privilegeGranted = true;
  bool accepted = true;
  std::vector<std::string> calls;
  std::vector<std::uint32_t> requests;
};

TEST(ExitWinTest, RestartIsTheDefaultAndIsForced) {
  RecordingShutdown system;
  TExitWin exitWin(system);
  EXPECT_EQ(exitWin.Action(), TExitWinAction::Restart);
  EXPECT_TRUE(exitWin.Execute());
  EXPECT_THAT(system.calls, ElementsAre("privilege", "exit"));
  EXPECT_THAT(system.requests, ElementsAre(0x2u | 0x4u));  // REBOOT | FORCE
}

TEST(ExitWinTest, EachActionAsksForItsOwnForcedRequest) {
  RecordingShutdown system;
  TExitWin exitWin(system);
  exitWin.SetAction(TExitWinAction::ShutDown);
  exitWin.Execute();
  exitWin.SetAction(TExitWinAction::PowerOff);
  exitWin.Execute();
  exitWin.SetAction(TExitWinAction::Restart);
  exitWin.Execute();
  EXPECT_THAT(system.requests,
              ElementsAre(0x1u | 0x4u, 0x8u | 0x4u, 0x2u | 0x4u));
}

TEST(ExitWinTest, NothingIsRequestedWhenThePrivilegeIsRefused) {
  RecordingShutdown system;
  system.privilegeGranted = false;
  TExitWin exitWin(system);
  EXPECT_FALSE(exitWin.Execute());
  EXPECT_THAT(system.requests, IsEmpty());
}

TEST(ExitWinTest, The9xFamilyNeedsNoPrivilege) {
  RecordingShutdown system;
  system.nt = false;
  TExitWin exitWin(system);
  EXPECT_TRUE(exitWin.Execute());
  EXPECT_THAT(system.calls, ElementsAre("exit"));
}

TEST(ExitWinTest, ARefusedRequestIsReported) {
  RecordingShutdown system;
  system.accepted = false;
  TExitWin exitWin(system);
  EXPECT_FALSE(exitWin.Execute());
}

}  // namespace
}  // namespace tidewell
