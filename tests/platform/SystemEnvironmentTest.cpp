// The environment seam: variable look-up and expansion behave the same over
// the native values and over the real Windows environment.
#include <gtest/gtest.h>

#include "tests/platform/TestDrive.h"

#ifdef _WIN32
#include "platform/win/WinFileSystem.h"
#include "platform/win/WinSystemEnvironment.h"
#endif

namespace tidewell {
namespace {

TEST(SystemEnvironmentTest, VariablesIgnoreLetterCase) {
  testing::TestEnvironment test;
  test.SetVariable("TidewellVar", "value 1");
  EXPECT_EQ(test.Environment().EnvironmentVariable("TIDEWELLVAR"), "value 1");
  EXPECT_EQ(test.Environment().EnvironmentVariable("tidewell_unset_var"), "");
}

TEST(SystemEnvironmentTest, ExpansionReplacesSetVariablesOnly) {
  testing::TestEnvironment test;
  test.SetVariable("TwDir", "C:\\Tw");
  TSystemEnvironment& env = test.Environment();
  EXPECT_EQ(env.ExpandEnvironmentText("%twdir%\\app.exe"), "C:\\Tw\\app.exe");
  EXPECT_EQ(env.ExpandEnvironmentText("%TWDIR%%TwDir%"), "C:\\TwC:\\Tw");
  EXPECT_EQ(env.ExpandEnvironmentText("a %tidewell_unset% b"),
            "a %tidewell_unset% b");
  EXPECT_EQ(env.ExpandEnvironmentText("app.exe %1"), "app.exe %1");
  EXPECT_EQ(env.ExpandEnvironmentText("100%"), "100%");
  EXPECT_EQ(env.ExpandEnvironmentText("%%"), "%%");
  EXPECT_EQ(env.ExpandEnvironmentText(""), "");
}

#ifdef _WIN32
// The folders a program sees in the Wine prefix (see the notes on Wine).
TEST(WinSystemEnvironmentTest, SpecialFoldersExistWithoutTrailingBackslash) {
  WinSystemEnvironment env;
  WinFileSystem fs;
  const std::string windows = env.WindowsFolder();
  for (const std::string& folder :
       {windows, env.SystemFolder(), env.FontsFolder(), env.ProgramFilesFolder(),
        env.CommonFilesFolder(), env.TempFolder()}) {
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\') << folder;
    EXPECT_TRUE(fs.DirectoryExists(folder)) << folder;
  }
  EXPECT_TRUE(fs.DirectoryExists(windows + "\\system32"));
  EXPECT_TRUE(fs.FileExists(env.ProgramFileName()));
  EXPECT_FALSE(env.EnvironmentVariable("PATH").empty());
}
#endif

}  // namespace
}  // namespace tidewell
