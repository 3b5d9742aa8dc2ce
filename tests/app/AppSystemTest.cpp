// The Windows side of start-up and ExitWin: privileges in the process token,
// the shutdown privilege ExitWin enables for itself, and the program file's
// version information.
#include <windows.h>

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "app/ExitWin.h"
#include "app/win/NTSetPrivilege.h"
#include "app/win/SystemError.h"
#include "app/win/WinShutdownSystem.h"
#include "app/win/WinVersionInfo.h"
#include "tests/app/WindowDriver.h"

namespace tidewell {
namespace {

bool PrivilegeEnabled(const wchar_t* name) {
  HANDLE token = nullptr;
  OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
  PRIVILEGE_SET set{};
  set.PrivilegeCount = 1;
  LookupPrivilegeValueW(nullptr, name, &set.Privilege[0].Luid);
  BOOL enabled = FALSE;
  PrivilegeCheck(token, &set, &enabled);
  CloseHandle(token);
  return enabled != FALSE;
}

TEST(NTSetPrivilegeTest, EnablesAndDisablesAPrivilegeOfTheToken) {
  EXPECT_TRUE(NTSetPrivilege("SeBackupPrivilege", true));
  EXPECT_TRUE(PrivilegeEnabled(L"SeBackupPrivilege"));
  EXPECT_TRUE(NTSetPrivilege("SeBackupPrivilege", false));
  EXPECT_FALSE(PrivilegeEnabled(L"SeBackupPrivilege"));
}

TEST(NTSetPrivilegeTest, APrivilegeNotHeldRaisesTheSystemsMessage) {
  try {
    NTSetPrivilege("SeCreateTokenPrivilege", true);
    FAIL() << "no error raised";
  } catch (const EOSError& error) {
    EXPECT_EQ(error.Code(), static_cast<std::uint32_t>(ERROR_NOT_ALL_ASSIGNED));
    EXPECT_EQ(std::string(error.what()), SystemErrorMessage(ERROR_NOT_ALL_ASSIGNED));
    EXPECT_FALSE(std::string(error.what()).empty());
  }
}

TEST(NTSetPrivilegeTest, AnUnknownNameRaises) {
  EXPECT_THROW(NTSetPrivilege("SeNoSuchPrivilege", true), EOSError);
}

// The real privilege step with the request itself recorded: ExitWindowsEx
// would end every process of the Wine prefix.
class ObservedShutdown : public TShutdownSystem {
 public:
  bool IsNtFamily() override { return real.IsNtFamily(); }
  bool EnableShutdownPrivilege() override {
    return real.EnableShutdownPrivilege();
  }
  bool RequestExitWindows(std::uint32_t flags) override {
    requests.push_back(flags);
    return true;
  }
  WinShutdownSystem real;
  std::vector<std::uint32_t> requests;
};

TEST(ExitWinSystemTest, EnablesShutdownItselfAndAsksForTheForcedAction) {
  NTSetPrivilege("SeShutdownPrivilege", false);
  ASSERT_FALSE(PrivilegeEnabled(L"SeShutdownPrivilege"));
  ObservedShutdown system;
  TExitWin exitWin(system);
  exitWin.SetAction(TExitWinAction::PowerOff);
  EXPECT_TRUE(exitWin.Execute());
  EXPECT_TRUE(PrivilegeEnabled(L"SeShutdownPrivilege"));
  ASSERT_EQ(system.requests.size(), 1u);
  EXPECT_EQ(system.requests[0],
            static_cast<std::uint32_t>(EWX_POWEROFF | EWX_FORCE));
  exitWin.SetAction(TExitWinAction::Restart);
  exitWin.Execute();
  exitWin.SetAction(TExitWinAction::ShutDown);
  exitWin.Execute();
  EXPECT_EQ(system.requests[1], static_cast<std::uint32_t>(EWX_REBOOT | EWX_FORCE));
  EXPECT_EQ(system.requests[2],
            static_cast<std::uint32_t>(EWX_SHUTDOWN | EWX_FORCE));
}

TEST(VersionInfoTest, ReadsEveryFieldOfTheProgram) {
  const TVersionInfo info =
      ReadVersionInfo(tidewell::testing::FileNextToTest("tidewell.exe"));
  EXPECT_EQ(info.ProductName, "Tidewell");
  EXPECT_EQ(info.FileVersion, "1.0.0.0");
  EXPECT_EQ(info.ProductVersion, "1.0.0.0");
  EXPECT_EQ(info.OriginalFilename, "tidewell.exe");
  EXPECT_EQ(info.CompanyName, "Palvorin");
  for (const std::string* field :
       {&info.InternalName, &info.FileDescription, &info.LegalCopyright,
        &info.LegalTrademarks, &info.Comments}) {
    EXPECT_FALSE(field->empty());
    EXPECT_NE(*field, kValueNotAvailable);
  }
}

TEST(VersionInfoTest, AFileWithoutVersionInformationReadsNotAvailable) {
  // The test program carries no version resource.
  const TVersionInfo info =
      ReadVersionInfo(tidewell::testing::FileNextToTest("AppSystemTest.exe"));
  EXPECT_EQ(info.ProductName, "Value Not Available");
  EXPECT_EQ(info.FileVersion, "Value Not Available");
  EXPECT_EQ(info.Comments, "Value Not Available");
}

}  // namespace
}  // namespace tidewell
