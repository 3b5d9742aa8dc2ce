// tidewell.exe's backup window, driven from outside on a virtual screen, with
// the program in a folder whose path holds blanks: Run makes the export in
// registrybackups and the message names that very file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/MainWindowTexts.h"
#include "platform/win/WideText.h"
#include "tests/app/Screenshot.h"
#include "tests/app/WindowDriver.h"
#include "tests/platform/TestDrive.h"

namespace tidewell {
namespace {

using namespace tidewell::testing;

TEST(RegistryBackupWindow, RunWritesTheExportAndNamesItsFile) {
  // The program writes into its folder and the registry: only in a prefix.
  RequireTestPrefix();
  TestDrive drive;
  drive.MakeFolder("Program Files\\Tide well");
  const std::string appFolder = drive.Path("Program Files\\Tide well\\");
  const std::string program = CopyProgramInto(appFolder);

  TDrivenProcess process(program);
  HWND main = WaitForTopWindow(process.Id(), "TfrmMain");
  ASSERT_NE(main, nullptr);
  Click(FindChild(main, "Button", MainButtonText(TMainButton::RegistryBackup).Caption));
  HWND window = WaitForTopWindow(process.Id(), "TfrmRegistryBackup", "Registry Backup");
  ASSERT_NE(window, nullptr);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 580);
  EXPECT_EQ(client.bottom, 364);
  EXPECT_FALSE(GetWindowLongW(window, GWL_STYLE) & (WS_MAXIMIZEBOX | WS_THICKFRAME));
  HWND run = FindChild(window, "Button", "Run");
  HWND back = FindChild(window, "Button", "Back");
  ASSERT_NE(run, nullptr);
  ASSERT_NE(back, nullptr);

  Settle(window);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Settle(window);
  const std::string shot = ArtifactsFolder() + "registry-backup.bmp";
  ASSERT_TRUE(SaveScreenshot(shot)) << shot;
  std::printf("backup window screenshot: %s\n", shot.c_str());

  Click(run);
  HWND box = WaitForMessageBox(process.Id(), kApplicationTitle);
  ASSERT_NE(box, nullptr);
  const std::vector<TFileInfo> files =
      drive.FileSystem().ListFolder(appFolder + "registrybackups");
  ASSERT_EQ(files.size(), 1u);
  EXPECT_GT(files[0].Size, 1000000u) << "the whole registry";
  EXPECT_EQ(MessageBoxText(box), "Registry was successfully backed up to " + files[0].Name);
  EXPECT_FALSE(IsWindowEnabled(run)) << "the buttons wait for the message";
  AnswerMessageBox(box, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(run) && IsWindowEnabled(back); }));

  Click(back);
  EXPECT_TRUE(WaitForWindowGone(process.Id(), "TfrmRegistryBackup"));
  Click(FindChild(main, "Button", MainButtonText(TMainButton::Exit).Caption));
  EXPECT_TRUE(process.WaitForExit());
}

}  // namespace
}  // namespace tidewell
