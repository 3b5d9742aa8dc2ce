// The cleanup settings window of the real program, driven on a virtual
// screen: its boxes, the group gate, Next and the title bar, the settings file
// it leaves at the end, and the "..." button with a stand-in editor.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "app/CleanupSettingsTexts.h"
#include "app/MainWindowTexts.h"
#include "platform/win/WideText.h"
#include "tests/app/Screenshot.h"
#include "tests/app/WindowDriver.h"

namespace tidewell {
namespace {

using namespace tidewell::testing;

constexpr const char* kFolder = "C:\\Tidewell Settings Test\\";
constexpr const char* kEditorClass = "TidewellEditorStandIn";

bool Ticked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

class CleanupSettingsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RequireTestPrefix();
    // The program keeps its files beside itself: a copy of its own, in a
    // folder of the throwaway prefix.
    program_ = CopyProgramInto(kFolder);
    // Text files open in the stand-in editor.
    const std::wstring command =
        L"\"" + WideText(FileNextToTest("EditorStandIn.exe")) + L"\" \"%1\"";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, L".txt", nullptr, REG_SZ, L"txtfile", 16),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, L"txtfile\\shell\\open\\command", nullptr,
                              REG_SZ, command.c_str(),
                              static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }

  HWND StartAndOpenSettings() {
    process_ = std::make_unique<TDrivenProcess>(program_);
    main_ = WaitForTopWindow(process_->Id(), "TfrmMain");
    if (main_ == nullptr) return nullptr;
    Click(FindChild(main_, "Button", MainButtonText(TMainButton::RegistryCleanup).Caption));
    return WaitForTopWindow(process_->Id(), "TfrmCleanupSettings", kCleanupSettingsCaption);
  }

  HWND Box(HWND window, TCleanupBox box) {
    return FindChild(window, "Button", CleanupBoxCaption(box));
  }

  void Exit() {
    Click(FindChild(main_, "Button", MainButtonText(TMainButton::Exit).Caption));
    ASSERT_TRUE(process_->WaitForExit());
  }

  std::string program_;
  std::unique_ptr<TDrivenProcess> process_;
  HWND main_ = nullptr;
};

TEST_F(CleanupSettingsWindowTest, ChoicesSurviveARestartInTheFilesExactFormat) {
  HWND settings = StartAndOpenSettings();
  ASSERT_NE(settings, nullptr);
  HWND group = FindChild(settings, "Button", kClearSoftwareCaption);
  ASSERT_NE(group, nullptr);
  for (int i = 0; i < kCleanupBoxCount; ++i) {
    HWND box = Box(settings, static_cast<TCleanupBox>(i));
    ASSERT_NE(box, nullptr) << CleanupBoxCaption(static_cast<TCleanupBox>(i));
    EXPECT_TRUE(Ticked(box)) << "ticked by default";
  }
  RECT client{};
  GetClientRect(settings, &client);
  EXPECT_EQ(client.right - client.left, 580);
  EXPECT_EQ(client.bottom - client.top, 364);

  Click(Box(settings, TCleanupBox::Sounds));
  Click(group);
  Settle(settings);
  EXPECT_FALSE(Ticked(Box(settings, TCleanupBox::Sounds)));
  EXPECT_FALSE(IsWindowEnabled(Box(settings, TCleanupBox::Fonts)));
  EXPECT_TRUE(Ticked(Box(settings, TCleanupBox::Fonts))) << "disabled, not unticked";
  EXPECT_TRUE(IsWindowEnabled(Box(settings, TCleanupBox::ClassesSection)));

  RedrawWindow(settings, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Settle(settings);
  const std::string shot = ArtifactsFolder() + "cleanup-settings.bmp";
  EXPECT_TRUE(SaveScreenshot(shot)) << shot;

  // Next goes on to the cleanup window.
  Click(FindChild(settings, "Button", "Next"));
  HWND cleanup = WaitForTopWindow(process_->Id(), "TfrmRegistryCleanup");
  ASSERT_NE(cleanup, nullptr);
  Click(FindChild(cleanup, "Button", "Back"));
  ASSERT_TRUE(WaitForWindowGone(process_->Id(), "TfrmRegistryCleanup"));
  EXPECT_EQ(FileText(std::string(kFolder) + "CleanupSettings.ini"), "<missing>")
      << "written when the program ends, not before";
  Exit();

  EXPECT_EQ(FileText(std::string(kFolder) + "CleanupSettings.ini"),
            "[frmCleanupSettings]\r\n"
            "chkAPPPath.Checked=True\r\n"
            "chkClassesSection.Checked=True\r\n"
            "chkClearFileList.Checked=True\r\n"
            "chkFonts.Checked=True\r\n"
            "chkHelp.Checked=True\r\n"
            "chkInvalidFileAssociations.Checked=True\r\n"
            "chkSharedDLL.Checked=True\r\n"
            "chkSounds.Checked=False\r\n"
            "chkWinStartup.Checked=True\r\n"
            "gbClearSoftware.CheckBoxChecked=False\r\n"
            "\r\n");
  EXPECT_EQ(FileText(std::string(kFolder) + "RegistryCleanup.ini")
                .rfind("[frmRegistryCleanup]\r\nlvwRegKeys.Columns.Width=\"300,152,135\"\r\n"
                       "FormPlacement=\"",
                       0),
            0u)
      << "the cleanup window keeps its columns and where it stood";

  // Started again, the window is as it was left; the title bar closes it
  // without going on to the cleanup window.
  settings = StartAndOpenSettings();
  ASSERT_NE(settings, nullptr);
  EXPECT_FALSE(Ticked(Box(settings, TCleanupBox::Sounds)));
  EXPECT_FALSE(Ticked(FindChild(settings, "Button", kClearSoftwareCaption)));
  EXPECT_FALSE(IsWindowEnabled(Box(settings, TCleanupBox::Help)));
  PostMessageW(settings, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitForWindowGone(process_->Id(), "TfrmCleanupSettings"));
  Settle(main_);
  EXPECT_EQ(FindTopWindow(process_->Id(), "TfrmRegistryCleanup"), nullptr);
  Exit();
}

TEST_F(CleanupSettingsWindowTest, TheEllipsisOpensTheListInOneEditorAtATime) {
  const std::string list = std::string(kFolder) + "ExcludedKeys.txt";
  DeleteFileW(WideText(list).c_str());
  HWND settings = StartAndOpenSettings();
  ASSERT_NE(settings, nullptr);
  HWND ellipsis = FindChild(settings, "Button", "...");
  ASSERT_NE(ellipsis, nullptr);

  Click(ellipsis);
  HWND editor = WaitForTopWindow(0, kEditorClass);
  ASSERT_NE(editor, nullptr);
  EXPECT_NE(TextOf(editor).find("ExcludedKeys.txt"), std::string::npos) << TextOf(editor);
  EXPECT_EQ(FileText(list), "") << "created empty";
  EXPECT_TRUE(IsWindowEnabled(settings)) << "the window stays usable";

  // A second click while the editor runs starts nothing.
  Click(ellipsis);
  Settle(settings);
  Sleep(500);
  int editors = 0;
  for (HWND w = FindWindowW(L"TidewellEditorStandIn", nullptr); w != nullptr;
       w = FindWindowExW(nullptr, w, L"TidewellEditorStandIn", nullptr)) {
    ++editors;
  }
  EXPECT_EQ(editors, 1);

  PostMessageW(editor, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitForWindowGone(0, kEditorClass));
  // Once it has ended, the button starts one again.
  ASSERT_TRUE(WaitUntil([&] {
    Click(ellipsis);
    Settle(settings);
    return FindTopWindow(0, kEditorClass) != nullptr;
  }));
  PostMessageW(FindTopWindow(0, kEditorClass), WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitForWindowGone(0, kEditorClass));

  Click(FindChild(settings, "Button", "Back"));
  ASSERT_TRUE(WaitForWindowGone(process_->Id(), "TfrmCleanupSettings"));
  Exit();
}

}  // namespace
}  // namespace tidewell
