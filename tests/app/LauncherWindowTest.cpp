// tidewell.exe under Wine on a virtual screen, driven from this process as a
// person would drive it: the launcher's captions and texts, a second start,
// the registry note and run-once cleanup, each button's window and "Back",
// the "What's This?" help, "Exit", and a screenshot of the launcher.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "app/FormKind.h"
#include "app/MainWindowTexts.h"
#include "app/SingleInstanceNames.h"
#include "app/win/WinVersionInfo.h"
#include "platform/win/WideText.h"
#include "tests/app/Screenshot.h"
#include "tests/app/WindowDriver.h"

namespace tidewell {
namespace {

using namespace tidewell::testing;

constexpr const char* kMainClass = "TfrmMain";
constexpr const char* kPopupClass = "TidewellHelpPopup";
constexpr const wchar_t* kNoteKey = L"Software\\Palvorin\\TDW";
constexpr const wchar_t* kRunOnceKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

std::string ReadString(HKEY root, const wchar_t* key, const wchar_t* value) {
  wchar_t data[1024];
  DWORD size = sizeof(data);
  if (RegGetValueW(root, key, value, RRF_RT_REG_SZ, nullptr, data, &size) !=
      ERROR_SUCCESS) {
    return "<missing>";
  }
  std::wstring text(data);
  return std::string(text.begin(), text.end());
}

// Waits until the program's user-interface thread has handled everything
// sent before: a synchronous no-op returns only then.
class LauncherWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The program writes the registry: only ever inside a throwaway prefix.
    RequireTestPrefix();
    program_ = FileNextToTest("tidewell.exe");
    version_ = ReadVersionInfo(program_);
  }

  // Starts the program and waits for its launcher.
  HWND Start() {
    process_ = std::make_unique<TDrivenProcess>(program_);
    return WaitForTopWindow(process_->Id(), kMainClass);
  }

  HWND Button(HWND main, TMainButton button) {
    return FindChild(main, "Button", MainButtonText(button).Caption);
  }

  // Clicks a launcher button, waits for the task window, checks that it is
  // modal over the launcher, goes "Back" and waits for the launcher again.
  void OpenAndGoBack(HWND main, TMainButton button, TFormKind form) {
    SCOPED_TRACE(FormClassName(form));
    Click(Button(main, button));
    HWND task = WaitForTopWindow(process_->Id(), FormClassName(form));
    ASSERT_NE(task, nullptr);
    EXPECT_FALSE(IsWindowEnabled(main));
    HWND back = FindChild(task, "Button", "Back");
    ASSERT_NE(back, nullptr);
    Click(back);
    EXPECT_TRUE(WaitForWindowGone(process_->Id(), FormClassName(form)));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }));
  }

  void Exit(HWND main) {
    Click(Button(main, TMainButton::Exit));
    ASSERT_TRUE(process_->WaitForExit());
  }

  std::string program_;
  TVersionInfo version_;
  std::unique_ptr<TDrivenProcess> process_;
};

TEST_F(LauncherWindowTest, ShowsTheVersionTheSevenButtonsAndTheWelcome) {
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(TextOf(main), "  Tidewell " + version_.FileVersion);
  EXPECT_EQ(version_.FileVersion, "1.0.0.0");

  for (const TMainButtonText& button : MainButtonTexts()) {
    EXPECT_NE(FindChild(main, "Button", button.Caption), nullptr)
        << button.Caption;
  }
  EXPECT_NE(FindChild(main, "Static", WelcomeText()), nullptr);
  EXPECT_NE(FindChild(main, "Static", version_.LegalCopyright), nullptr);
  EXPECT_NE(FindChild(main, "Button", "?"), nullptr);

  RECT client{};
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 578);
  EXPECT_EQ(client.bottom, 362);
  EXPECT_FALSE(GetWindowLongW(main, GWL_STYLE) & WS_MAXIMIZEBOX);
  EXPECT_TRUE(GetWindowLongW(main, GWL_STYLE) & WS_MINIMIZEBOX);
  RECT frame{}, work{};
  GetWindowRect(main, &frame);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((frame.left + frame.right) / 2, (work.left + work.right) / 2, 2);
  EXPECT_NEAR((frame.top + frame.bottom) / 2, (work.top + work.bottom) / 2, 2);

  // A person's view of the launcher, kept for looking at after the run.
  Settle(main);
  RedrawWindow(main, nullptr, nullptr,
               RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Settle(main);
  const std::string shot = ArtifactsFolder() + "launcher.bmp";
  ASSERT_TRUE(SaveScreenshot(shot)) << shot;
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  ASSERT_TRUE(GetFileAttributesExW(WideText(shot).c_str(), GetFileExInfoStandard,
                                   &attributes));
  EXPECT_GT(attributes.nFileSizeLow, 1024u * 768u * 3u);
  std::printf("launcher screenshot: %s\n", shot.c_str());

  Exit(main);
}

TEST_F(LauncherWindowTest, ASecondStartIsTurnedAwayAndTheFirstStays) {
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  const std::string base = OneInstanceBaseName("Tidewell", "Tidewell");
  HANDLE mark = OpenMutexW(SYNCHRONIZE, FALSE, WideText(DefaultMutexName(base)).c_str());
  EXPECT_NE(mark, nullptr) << "the running instance holds its mutex";
  if (mark != nullptr) CloseHandle(mark);

  TDrivenProcess second(program_);
  HWND box = WaitForMessageBox(second.Id(), "Tidewell");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), "The program is already running.");
  EXPECT_EQ(FindTopWindow(second.Id(), kMainClass), nullptr);
  AnswerMessageBox(box, IDOK);
  EXPECT_TRUE(second.WaitForExit());
  EXPECT_TRUE(process_->IsRunning());
  EXPECT_TRUE(IsWindowVisible(main));
  // Activation reaches the first instance asynchronously once the second
  // one's box is gone; for a moment no window is in the foreground.
  EXPECT_TRUE(WaitUntil([main] { return GetForegroundWindow() == main; }))
      << "the first instance is brought forward";

  Exit(main);
}

TEST_F(LauncherWindowTest, NotesItsShortPathAndRemovesItsRunOnceValue) {
  RegDeleteTreeW(HKEY_CURRENT_USER, kNoteKey);
  ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, kRunOnceKey, L"tidewell.exe",
                            REG_SZ, L"x", 4),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, kRunOnceKey, L"keep.exe",
                            REG_SZ, L"x", 4),
            ERROR_SUCCESS);

  HWND main = Start();
  ASSERT_NE(main, nullptr);
  wchar_t shortPath[MAX_PATH];
  GetShortPathNameW(WideText(program_).c_str(), shortPath, MAX_PATH);
  const std::wstring wideShort(shortPath);
  const std::string expected(wideShort.begin(), wideShort.end());
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kNoteKey, L"Path"), expected);
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kRunOnceKey, L"tidewell.exe"),
            "<missing>");
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kRunOnceKey, L"keep.exe"), "x");
  RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunOnceKey, L"keep.exe");

  // Written again when the launcher closes.
  RegDeleteTreeW(HKEY_CURRENT_USER, kNoteKey);
  Exit(main);
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kNoteKey, L"Path"), expected);
  EXPECT_EQ(process_->ExitCode(), 0u);
}

TEST_F(LauncherWindowTest, EachButtonOpensItsWindowAndBackReturns) {
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  OpenAndGoBack(main, TMainButton::RegistryBackup, TFormKind::RegistryBackup);
  OpenAndGoBack(main, TMainButton::RegistryDefrag, TFormKind::RegistryDefrag);
  OpenAndGoBack(main, TMainButton::Autorun, TFormKind::Autorun);
  OpenAndGoBack(main, TMainButton::UndoCleanups, TFormKind::RegistryUndo);
  OpenAndGoBack(main, TMainButton::Help, TFormKind::Help);
  // Hidden, not destroyed: the same window comes back.
  Click(Button(main, TMainButton::Help));
  HWND help = WaitForTopWindow(process_->Id(), "TfrmHelp");
  Click(FindChild(help, "Button", "Back"));
  ASSERT_TRUE(WaitForWindowGone(process_->Id(), "TfrmHelp"));
  Click(Button(main, TMainButton::Help));
  EXPECT_EQ(WaitForTopWindow(process_->Id(), "TfrmHelp"), help);
  Click(FindChild(help, "Button", "Back"));
  ASSERT_TRUE(WaitForWindowGone(process_->Id(), "TfrmHelp"));
  Exit(main);
}

TEST_F(LauncherWindowTest, CleanupOpensTheCleanupWindowOnlyAfterNext) {
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  HWND cleanup = Button(main, TMainButton::RegistryCleanup);

  Click(cleanup);
  HWND settings = WaitForTopWindow(process_->Id(), "TfrmCleanupSettings");
  ASSERT_NE(settings, nullptr);
  Click(FindChild(settings, "Button", "Next"));
  HWND window = WaitForTopWindow(process_->Id(), "TfrmRegistryCleanup");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(FindTopWindow(process_->Id(), "TfrmCleanupSettings"), nullptr);
  Click(FindChild(window, "Button", "Back"));
  ASSERT_TRUE(WaitForWindowGone(process_->Id(), "TfrmRegistryCleanup"));

  Click(cleanup);
  settings = WaitForTopWindow(process_->Id(), "TfrmCleanupSettings");
  ASSERT_NE(settings, nullptr);
  Click(FindChild(settings, "Button", "Back"));
  ASSERT_TRUE(WaitForWindowGone(process_->Id(), "TfrmCleanupSettings"));
  Settle(main);
  EXPECT_EQ(FindTopWindow(process_->Id(), "TfrmRegistryCleanup"), nullptr);
  EXPECT_TRUE(IsWindowEnabled(main));
  Exit(main);
}

TEST_F(LauncherWindowTest, WhatsThisShowsTheClickedControlsHelpText) {
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  Click(FindChild(main, "Button", "?"));
  const DWORD thread = GetWindowThreadProcessId(main, nullptr);
  ASSERT_TRUE(WaitUntil([&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(thread, &info) && info.hwndCapture == main;
  })) << "help mode did not start";

  RECT button{};
  GetWindowRect(Button(main, TMainButton::RegistryCleanup), &button);
  POINT centre{(button.left + button.right) / 2,
               (button.top + button.bottom) / 2};
  ScreenToClient(main, &centre);
  PostMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON,
               MAKELPARAM(centre.x, centre.y));
  HWND popup = WaitForTopWindow(process_->Id(), kPopupClass);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(TextOf(popup),
            MainButtonText(TMainButton::RegistryCleanup).HelpText);
  // Help mode opened nothing.
  EXPECT_EQ(FindTopWindow(process_->Id(), "TfrmCleanupSettings"), nullptr);

  PostMessageW(popup, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_TRUE(WaitForWindowGone(process_->Id(), kPopupClass));
  Exit(main);
}

TEST_F(LauncherWindowTest, ExitEndsTheProgram) {
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  Click(Button(main, TMainButton::Exit));
  ASSERT_TRUE(process_->WaitForExit());
  EXPECT_EQ(process_->ExitCode(), 0u);
}

}  // namespace
}  // namespace tidewell
