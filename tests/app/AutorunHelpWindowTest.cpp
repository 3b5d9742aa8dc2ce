// The auto-run and help windows of the real program, driven on a virtual
// screen: the auto-run choices, Back and the title bar, the choices kept
// across a restart in the settings file; the help window's addresses as
// tooltips and what its buttons hand to the shell, with a stand-in program
// registered for web addresses and mail.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "app/AutorunPresenter.h"
#include "app/HelpPresenter.h"
#include "app/MainWindowTexts.h"
#include "app/SupportAddresses.h"
#include "platform/win/WideText.h"
#include "tests/app/Screenshot.h"
#include "tests/app/WindowDriver.h"

namespace tidewell {
namespace {

using namespace tidewell::testing;

constexpr const char* kFolder = "C:\\Tidewell Autorun Test\\";
constexpr const char* kStandInClass = "TidewellEditorStandIn";

bool Checked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Screenshot(HWND window, const char* name) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Settle(window);
  const std::string shot = ArtifactsFolder() + name;
  EXPECT_TRUE(SaveScreenshot(shot)) << shot;
  std::printf("screenshot: %s\n", shot.c_str());
}

class AutorunHelpWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RequireTestPrefix();
    // The program keeps its settings files beside itself: a copy of its own.
    program_ = CopyProgramInto(kFolder);
  }

  // Starts the program, opens a task window from the launcher.
  HWND StartAndOpen(TMainButton button, const char* windowClass, const char* caption) {
    process_ = std::make_unique<TDrivenProcess>(program_);
    main_ = WaitForTopWindow(process_->Id(), "TfrmMain");
    if (main_ == nullptr) return nullptr;
    Click(FindChild(main_, "Button", MainButtonText(button).Caption));
    return WaitForTopWindow(process_->Id(), windowClass, caption);
  }

  void Exit() {
    Click(FindChild(main_, "Button", MainButtonText(TMainButton::Exit).Caption));
    ASSERT_TRUE(process_->WaitForExit());
  }

  // No task window of the chain came up after the auto-run window closed.
  void ExpectNoChain() {
    Settle(main_);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main_) != FALSE; }));
    EXPECT_EQ(FindTopWindow(process_->Id(), "TfrmRegistryBackup"), nullptr);
  }

  std::string program_;
  std::unique_ptr<TDrivenProcess> process_;
  HWND main_ = nullptr;
};

TEST_F(AutorunHelpWindowTest, AutorunChoicesSurviveARestartAndBackRunsNothing) {
  HWND autorun = StartAndOpen(TMainButton::Autorun, "TfrmAutorun", kAutorunCaption);
  ASSERT_NE(autorun, nullptr);
  RECT client{};
  GetClientRect(autorun, &client);
  EXPECT_EQ(client.right, 580);
  EXPECT_EQ(client.bottom, 364);
  for (const char* item : kTaskItems) ASSERT_NE(FindChild(autorun, "Button", item), nullptr);
  for (const char* item : kOnCompletionItems) {
    ASSERT_NE(FindChild(autorun, "Button", item), nullptr);
  }
  EXPECT_TRUE(Checked(FindChild(autorun, "Button", "Backup-Cleanup-Defrag")));
  EXPECT_TRUE(Checked(FindChild(autorun, "Button", "Restart")));
  EXPECT_EQ(ToolTipOf(FindChild(autorun, "Button", "Shut Down")), kOnCompletionHelpText);
  const std::vector<HWND> edits = ChildrenOfClass(autorun, "RichEdit20W");
  ASSERT_EQ(edits.size(), 1u);
  EXPECT_EQ(TextOf(edits[0]),
            "Select To Do tasks, choose an action to be taken when tasks are completed and "
            "click the Run button.\r\n\r\nThis will then perform the selected tasks without your "
            "intervention.");
  Screenshot(autorun, "autorun.bmp");

  // A choice in each group, then Back: no automatic run.
  Click(FindChild(autorun, "Button", "Backup"));
  Click(FindChild(autorun, "Button", "Power Off"));
  Click(FindChild(autorun, "Button", "Back"));
  ASSERT_TRUE(WaitForWindowGone(process_->Id(), "TfrmAutorun"));
  ExpectNoChain();
  Exit();
  EXPECT_EQ(FileText(std::string(kFolder) + "Autorun.ini"),
            "[frmAutorun]\r\nrgTasks.ItemIndex=2\r\nrgOnCompletion.ItemIndex=2\r\n\r\n");

  // Started again, the window shows them; the title bar (RunMode still
  // empty) runs nothing either.
  autorun = StartAndOpen(TMainButton::Autorun, "TfrmAutorun", kAutorunCaption);
  ASSERT_NE(autorun, nullptr);
  EXPECT_TRUE(Checked(FindChild(autorun, "Button", "Backup")));
  EXPECT_TRUE(Checked(FindChild(autorun, "Button", "Power Off")));
  PostMessageW(autorun, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitForWindowGone(process_->Id(), "TfrmAutorun"));
  ExpectNoChain();
  Exit();
}

TEST_F(AutorunHelpWindowTest, HelpButtonsShowTheirAddressesAndHandThemToTheShell) {
  // Web pages and mail open in the stand-in, whose caption is what it got.
  const std::wstring command =
      L"\"" + WideText(FileNextToTest("EditorStandIn.exe")) + L"\" \"%1\"";
  for (const wchar_t* scheme : {L"https", L"mailto"}) {
    const std::wstring key = std::wstring(scheme) + L"\\shell\\open\\command";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, scheme, L"URL Protocol", REG_SZ, L"", 2),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, command.c_str(),
                              static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }

  HWND help = StartAndOpen(TMainButton::Help, "TfrmHelp", kHelpCaption);
  ASSERT_NE(help, nullptr);
  RECT client{};
  GetClientRect(help, &client);
  EXPECT_EQ(client.right, 580);
  EXPECT_EQ(client.bottom, 364);
  HWND faq = FindChild(help, "Button", kFaqButtonCaption);
  HWND email = FindChild(help, "Button", kEmailButtonCaption);
  ASSERT_NE(faq, nullptr);
  ASSERT_NE(email, nullptr);
  EXPECT_TRUE(GetWindowLongW(faq, GWL_STYLE) & BS_FLAT);
  EXPECT_EQ(ToolTipOf(faq), kProductFaqAddress);
  EXPECT_EQ(ToolTipOf(email), kSupportEmailAddress);
  Screenshot(help, "help.bmp");

  struct Case {
    HWND button;
    std::string target;
  };
  for (const Case& c : {Case{faq, kProductFaqAddress},
                        Case{email, std::string("mailto:") + kSupportEmailAddress}}) {
    SCOPED_TRACE(c.target);
    Click(c.button);
    HWND opened = WaitForTopWindow(0, kStandInClass);
    ASSERT_NE(opened, nullptr);
    EXPECT_NE(TextOf(opened).find(c.target), std::string::npos) << TextOf(opened);
    EXPECT_TRUE(IsWindowVisible(help)) << "the help window stays";
    PostMessageW(opened, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForWindowGone(0, kStandInClass));
  }

  Click(FindChild(help, "Button", "Back"));
  ASSERT_TRUE(WaitForWindowGone(process_->Id(), "TfrmHelp"));
  Exit();
}

}  // namespace
}  // namespace tidewell
