// tidewell.exe's compaction window, driven from outside on a virtual screen:
// the hives are saved into the work folder under the temporary folder, the
// status reports the ratio against the hive files found at start, and a second
// run before the restart leaves the scheduled files alone. Under Wine
// RegReplaceKey does nothing, so the restart question is answered No.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include <windows.h>
#include <commctrl.h>

#include "app/MainWindowTexts.h"
#include "platform/win/WideText.h"
#include "platform/win/WinFileSystem.h"
#include "platform/win/WinSystemEnvironment.h"
#include "platform/win/WinSystemInfo.h"
#include "tests/app/Screenshot.h"
#include "tests/app/WindowDriver.h"
#include "tools/RegistryDefrag.h"
#include "tools/RegistryDefragPresenter.h"

namespace tidewell {
namespace {

using namespace tidewell::testing;

// The status pane's text; the status bar answers WM_GETTEXT with it.
std::string StatusText(HWND window) {
  HWND status = FindWindowExW(window, nullptr, STATUSCLASSNAMEW, nullptr);
  wchar_t text[512] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutW(status, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                      10000, &length);
  return NarrowText(text, length);
}

TEST(RegistryDefragWindow, RunSavesTheHivesReportsTheRatioAndKeepsThemForTheRestart) {
  // The program writes into the registry's files and the temporary folder.
  RequireTestPrefix();
  WinFileSystem files;
  WinSystemEnvironment environment;
  const std::string work = DefragWorkFolder(environment.TempFolder(), "Tidewell");
  // Wine keeps its hives elsewhere: files where Windows has them give the
  // old size.
  const std::string config = environment.WindowsFolder() + "\\System32\\Config\\";
  files.ForceDirectories(config.substr(0, config.size() - 1));
  for (const auto& [name, size] : {std::pair{"software", 500000}, {"system", 100000}}) {
    files.RemoveFile(config + name);
    files.CreateNewFile(config + name, false)->Write(std::string(size, 'h'));
  }
  std::uint64_t oldSize = 0;
  for (const std::string& file : HiveFiles({true}, environment.WindowsFolder())) {
    oldSize += FileSizeOf(files, file);
  }

  TDrivenProcess process(FileNextToTest("tidewell.exe"));
  HWND main = WaitForTopWindow(process.Id(), "TfrmMain");
  ASSERT_NE(main, nullptr);
  HWND openDefrag =
      FindChild(main, "Button", MainButtonText(TMainButton::RegistryDefrag).Caption);
  Click(openDefrag);
  HWND window = WaitForTopWindow(process.Id(), "TfrmRegistryDefrag", "Registry Defrag");
  ASSERT_NE(window, nullptr);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 580);
  EXPECT_EQ(client.bottom, 364);
  HWND run = FindChild(window, "Button", "Run");
  HWND back = FindChild(window, "Button", "Back");
  ASSERT_NE(run, nullptr);
  ASSERT_NE(back, nullptr);
  EXPECT_GE(oldSize, 600000u);
  EXPECT_EQ(StatusText(window), CurrentSizeText(oldSize));
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const std::string shot = ArtifactsFolder() + "registry-defrag.bmp";
  ASSERT_TRUE(SaveScreenshot(shot)) << shot;
  std::printf("compaction window screenshot: %s\n", shot.c_str());

  // A file where the work folder should be: no folder, no run.
  files.CreateNewFile(PathRemoveSeparator(work), false);
  Click(run);
  HWND box = WaitForMessageBox(process.Id(), kApplicationTitle);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box),
            "You must have administrative access for Windows Registry defragmentation.");
  AnswerMessageBox(box, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(run) != FALSE; }));
  files.RemoveFile(PathRemoveSeparator(work));

  Click(run);
  box = WaitForMessageBox(process.Id(), kApplicationTitle);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), "Defragmentation of Windows Registry is finished. \r\n"
                                 "Do you want reboot your system now?");
  std::uint64_t newSize = 0;
  for (const char* hive : {"SOFTWARE", "SYSTEM", "USERS"}) {
    EXPECT_GT(FileSizeOf(files, work + hive), 1000u) << hive;
    newSize += FileSizeOf(files, work + hive);
  }
  EXPECT_FALSE(files.FileExists(work + "SAM")) << "Wine has no HKLM\\SAM";
  const std::string ratio = RatioText(newSize, oldSize, WinSystemInfo().DecimalSeparator());
  EXPECT_EQ(StatusText(window), "Done! Ratio: " + ratio + " %");
  ASSERT_TRUE(SaveScreenshot(ArtifactsFolder() + "registry-defrag-done.bmp"));
  AnswerMessageBox(box, IDNO);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(back) != FALSE; }));
  EXPECT_FALSE(IsWindowEnabled(run));

  // Shown again before the restart: the scheduled hives stay.
  Click(back);
  ASSERT_TRUE(WaitForWindowGone(process.Id(), "TfrmRegistryDefrag"));
  Click(openDefrag);
  ASSERT_NE(WaitForTopWindow(process.Id(), "TfrmRegistryDefrag"), nullptr);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(run) != FALSE; }));
  Click(run);
  EXPECT_TRUE(WaitUntil([&] { return StatusText(window) == kDefragPendingText; }))
      << StatusText(window);
  EXPECT_TRUE(files.FileExists(work + "SOFTWARE"));
  Click(back);
  EXPECT_TRUE(WaitForWindowGone(process.Id(), "TfrmRegistryDefrag"));
  Click(FindChild(main, "Button", MainButtonText(TMainButton::Exit).Caption));
  EXPECT_TRUE(process.WaitForExit());
}

}  // namespace
}  // namespace tidewell
