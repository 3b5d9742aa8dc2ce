// The cleanup window of the real program on a virtual screen, over problems
// planted in the prefix's registry: launcher, settings, Next, Run; the rows
// ticked after the scan; Exclude Selected; View Selected bringing the
// registry editor to the key; Delete with its undo file, checked in the
// registry itself; the undo window bringing the entries back as they were;
// Stop on a scan of every category.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/MainWindowTexts.h"
#include "platform/TextEncoding.h"
#include "platform/win/WideText.h"
#include "tests/app/Screenshot.h"
#include "tests/app/WindowDriver.h"
#include "undo/RegistryUndoPresenter.h"

namespace tidewell {
namespace {

using namespace tidewell::testing;

constexpr const char* kFolder = "C:\\Tidewell Cleanup Test\\";
constexpr const wchar_t* kRunKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunKeyText =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kPlanted[] = {"TwGoneA", "TwGoneB", "TwGoneC"};

bool RunValueExists(const char* name) {
  return RegGetValueW(HKEY_LOCAL_MACHINE, kRunKey, WideText(name).c_str(), RRF_RT_ANY, nullptr,
                      nullptr, nullptr) == ERROR_SUCCESS;
}

// The system registry editor's export of the start-up key, as its bytes.
std::string ExportRunKey(const std::string& file) {
  std::wstring command = L"regedit /e \"" + WideText(file) + L"\" \"" +
                         WideText(kRunKeyText) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return "<regedit did not start>";
  }
  WaitForSingleObject(info.hProcess, 60000);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return FileText(file);
}

class RegistryCleanupWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RequireTestPrefix();
    program_ = CopyProgramInto(kFolder);
    DeleteFileW(WideText(std::string(kFolder) + "ExcludedKeys.txt").c_str());
    DeleteFileW(WideText(std::string(kFolder) + "CleanupSettings.ini").c_str());
    for (const char* name : kPlanted) {
      const std::wstring data = WideText(std::string("C:\\tidewell-gone\\") + name + ".exe");
      ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, WideText(name).c_str(), REG_SZ,
                                data.c_str(),
                                static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
                ERROR_SUCCESS);
    }
  }

  // Only the start-up entries, so that the scan takes a moment.
  void ScanStartupRunOnly() {
    WriteFileText(std::string(kFolder) + "CleanupSettings.ini",
                  "[frmCleanupSettings]\r\nchkAPPPath.Checked=False\r\n"
                  "chkClassesSection.Checked=False\r\nchkClearFileList.Checked=False\r\n"
                  "chkFonts.Checked=False\r\nchkHelp.Checked=False\r\n"
                  "chkInvalidFileAssociations.Checked=False\r\nchkSharedDLL.Checked=False\r\n"
                  "chkSounds.Checked=False\r\nchkWinStartup.Checked=True\r\n"
                  "gbClearSoftware.CheckBoxChecked=True\r\n\r\n");
  }

  // Launcher, "Registry Cleanup", the settings window's "Next".
  HWND OpenCleanup() {
    if (!process_) {
      process_ = std::make_unique<TDrivenProcess>(program_);
      main_ = WaitForTopWindow(process_->Id(), "TfrmMain");
    }
    if (main_ == nullptr) return nullptr;
    Click(FindChild(main_, "Button", MainButtonText(TMainButton::RegistryCleanup).Caption));
    HWND settings = WaitForTopWindow(process_->Id(), "TfrmCleanupSettings");
    if (settings == nullptr) return nullptr;
    Click(FindChild(settings, "Button", "Next"));
    window_ = WaitForTopWindow(process_->Id(), "TfrmRegistryCleanup", "Registry Cleanup");
    if (window_ != nullptr) {
      list_ = FindChild(window_, "SysListView32", "");
      statusBar_ = ChildrenOfClass(window_, "msctls_statusbar32").at(0);
    }
    return window_;
  }

  HWND Button(const std::string& caption) { return FindChild(window_, "Button", caption); }
  std::string Status() { return StatusBarText(statusBar_, 0); }
  std::string Total() { return StatusBarText(statusBar_, 1); }

  // Run, then the end of the scan: "Ready!" again once the pause is over.
  void Scan() {
    Click(Button("Run"));
    ASSERT_TRUE(WaitUntil([&] { return Button("Stop") != nullptr; }));
    ASSERT_TRUE(WaitUntil([&] { return Button("Run") != nullptr && Status() == "Ready!"; },
                          60s));
  }

  // The rows of the planted entries: their value names by row.
  std::vector<int> PlantedRows() {
    std::vector<int> rows;
    for (int row = 0; row < ListViewRowCount(list_); ++row) {
      if (ListViewCell(list_, row, 1).rfind("C:\\tidewell-gone\\", 0) == 0) rows.push_back(row);
    }
    return rows;
  }
  int RowOf(const char* name) {
    for (int row = 0; row < ListViewRowCount(list_); ++row) {
      if (ListViewCell(list_, row, 1).find(std::string(name) + ".exe") != std::string::npos) {
        return row;
      }
    }
    return -1;
  }

  // The list's context menu from the keyboard, and its `position`-th entry.
  void ChooseFromContextMenu(int position) {
    PostMessageW(window_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list_), MAKELPARAM(-1, -1));
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = FindWindowW(L"#32768", nullptr)) != nullptr &&
                                       IsWindowVisible(menu); }));
    for (int i = 0; i < position; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }));
  }

  void Shot(const char* name) {
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Settle(window_);
    const std::string path = ArtifactsFolder() + name;
    EXPECT_TRUE(SaveScreenshot(path)) << path;
  }

  void Exit() {
    Click(FindChild(main_, "Button", MainButtonText(TMainButton::Exit).Caption));
    ASSERT_TRUE(process_->WaitForExit());
    process_.reset();
  }

  std::string program_;
  std::unique_ptr<TDrivenProcess> process_;
  HWND main_ = nullptr;
  HWND window_ = nullptr;
  HWND list_ = nullptr;
  HWND statusBar_ = nullptr;
};

TEST_F(RegistryCleanupWindowTest, ScanExcludeViewAndDeleteThePlantedProblems) {
  ScanStartupRunOnly();
  ASSERT_NE(OpenCleanup(), nullptr);
  ASSERT_NE(list_, nullptr);
  EXPECT_EQ(Status(), "Ready!");
  EXPECT_FALSE(IsWindowEnabled(Button("Delete")));
  EXPECT_FALSE(IsWindowEnabled(Button("Tick")));
  Shot("cleanup-ready.bmp");

  Scan();
  ASSERT_EQ(PlantedRows().size(), 3u);
  for (int row : PlantedRows()) {
    // Start-up entries name their key with a trailing backslash.
    EXPECT_EQ(ListViewCell(list_, row, 0), std::string(kRunKeyText) + "\\");
    EXPECT_EQ(ListViewCell(list_, row, 2), "Startup file does not exist");
    EXPECT_TRUE(ListViewTicked(list_, row)) << "every row is ticked after the scan";
  }
  EXPECT_EQ(Total(), "Total: " + std::to_string(ListViewRowCount(list_)));
  EXPECT_TRUE(IsWindowEnabled(Button("Delete")));
  Shot("cleanup-scanned.bmp");
  // Resting the pointer on a row shows why it was reported.
  RECT listArea{};
  GetWindowRect(list_, &listArea);
  SetCursorPos(listArea.left + 120, listArea.top + 30);
  HWND tip = nullptr;
  EXPECT_TRUE(WaitUntil([&] {
    for (HWND w = FindWindowW(L"tooltips_class32", nullptr); w != nullptr;
         w = FindWindowExW(nullptr, w, L"tooltips_class32", nullptr)) {
      if (IsWindowVisible(w)) tip = w;
    }
    return tip != nullptr;
  }));
  Shot("cleanup-why-flagged.bmp");
  SetCursorPos(0, 0);

  // Exclude Selected: the second entry of the menu.
  const int rowsBefore = ListViewRowCount(list_);
  ListViewSelect(list_, RowOf("TwGoneA"));
  ChooseFromContextMenu(2);
  ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(list_) == rowsBefore - 1; }));
  EXPECT_EQ(RowOf("TwGoneA"), -1);
  EXPECT_EQ(Total(), std::to_string(rowsBefore - 1)) << "the bare remaining count";

  // View Selected: the editor comes up at the key, which its status bar
  // names once it is there.
  ListViewSelect(list_, RowOf("TwGoneB"));
  ChooseFromContextMenu(1);
  HWND editor = WaitForTopWindow(0, "RegEdit_RegEdit");
  ASSERT_NE(editor, nullptr);
  HWND editorStatus = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    return (editorStatus = ChildrenOfClass(editor, "msctls_statusbar32").empty()
                               ? nullptr
                               : ChildrenOfClass(editor, "msctls_statusbar32")[0]) != nullptr;
  }));
  const std::string wanted = "\\hkey_local_machine\\software\\microsoft\\windows\\currentversion\\run";
  std::string reached;
  EXPECT_TRUE(WaitUntil([&] {
    reached = DowncaseUtf8(StatusBarText(editorStatus, 0));
    return reached.size() >= wanted.size() &&
           reached.compare(reached.size() - wanted.size(), wanted.size(), wanted) == 0;
  })) << reached;
  HWND editorList = FindChild(GetWindow(editor, GW_CHILD), "SysListView32", "List View");
  ASSERT_NE(editorList, nullptr);
  EXPECT_TRUE(WaitUntil([&] {
    const int row = static_cast<int>(SendMessageW(editorList, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
    return row >= 0 && ListViewCell(editorList, row, 0) == "TwGoneB";
  })) << "the value is highlighted";
  Shot("cleanup-view-selected.bmp");
  DWORD editorId = 0;
  GetWindowThreadProcessId(editor, &editorId);
  HANDLE editorProcess = OpenProcess(SYNCHRONIZE, FALSE, editorId);
  PostMessageW(editor, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(editorProcess, 15000), WAIT_OBJECT_0);
  CloseHandle(editorProcess);

  // Delete: the undo file first, then exactly the ticked entries go.
  Click(Button("Delete"));
  ASSERT_TRUE(WaitUntil([&] { return Status() == "Deleted!"; }, 30s));
  EXPECT_TRUE(RunValueExists("TwGoneA")) << "excluded, so never deleted";
  EXPECT_FALSE(RunValueExists("TwGoneB"));
  EXPECT_FALSE(RunValueExists("TwGoneC"));
  EXPECT_TRUE(PlantedRows().empty());
  Shot("cleanup-deleted.bmp");

  // Closing writes the exclusion; a later scan hides the whole key.
  Click(Button("Back"));
  ASSERT_TRUE(WaitForWindowGone(process_->Id(), "TfrmRegistryCleanup"));
  EXPECT_EQ(FileText(std::string(kFolder) + "ExcludedKeys.txt"),
            std::string(kRunKeyText) + "\\\r\n");
  ASSERT_NE(OpenCleanup(), nullptr);
  EXPECT_EQ(ListViewRowCount(list_), 0) << "a new showing starts empty";
  Scan();
  EXPECT_TRUE(PlantedRows().empty());
  Click(Button("Back"));
  ASSERT_TRUE(WaitForWindowGone(process_->Id(), "TfrmRegistryCleanup"));
  Exit();

  // The run's undo file is held open until the program ends.
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(WideText(std::string(kFolder) + "restore\\*.reg").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE) << "no undo file";
  FindClose(search);
  const std::string undo = FileText(std::string(kFolder) + "restore\\" + NarrowText(found.cFileName));
  EXPECT_NE(undo.find("\"TwGoneB\"="), std::string::npos) << undo;
  EXPECT_NE(undo.find("\"TwGoneC\"="), std::string::npos) << undo;
  EXPECT_EQ(undo.find("TwGoneA"), std::string::npos) << undo;
}

TEST_F(RegistryCleanupWindowTest, TheUndoWindowBringsBackWhatTheCleanupDeleted) {
  // Only this run's undo file.
  const std::string restore = std::string(kFolder) + "restore\\";
  WIN32_FIND_DATAW found{};
  for (HANDLE search = FindFirstFileW(WideText(restore + "*.reg").c_str(), &found);
       search != INVALID_HANDLE_VALUE;) {
    DeleteFileW(WideText(restore + NarrowText(found.cFileName)).c_str());
    if (!FindNextFileW(search, &found)) {
      FindClose(search);
      break;
    }
  }
  const std::string before = ExportRunKey(std::string(kFolder) + "before.reg");
  ASSERT_GT(before.size(), 100u);
  ScanStartupRunOnly();
  ASSERT_NE(OpenCleanup(), nullptr);
  Scan();
  ASSERT_EQ(PlantedRows().size(), 3u);
  Click(Button("Delete"));
  ASSERT_TRUE(WaitUntil([&] { return Status() == "Deleted!"; }, 30s));
  for (const char* name : kPlanted) ASSERT_FALSE(RunValueExists(name)) << name;
  Click(Button("Back"));
  ASSERT_TRUE(WaitForWindowGone(process_->Id(), "TfrmRegistryCleanup"));

  // The undo window lists this run's file with its entries ticked.
  Click(FindChild(main_, "Button", MainButtonText(TMainButton::UndoCleanups).Caption));
  HWND undoWindow = WaitForTopWindow(process_->Id(), "TfrmRegistryUndo", kUndoWindowCaption);
  ASSERT_NE(undoWindow, nullptr);
  HWND rows = ChildrenOfClass(undoWindow, "SysListView32").at(0);
  HWND files = ChildrenOfClass(undoWindow, "ComboBox").at(0);
  HWND status = ChildrenOfClass(undoWindow, "msctls_statusbar32").at(0);
  ASSERT_EQ(SendMessageW(files, CB_GETCOUNT, 0, 0), 1);
  ASSERT_EQ(ListViewRowCount(rows), 3);
  Click(FindChild(undoWindow, "Button", "&Undo"));
  HWND question = WaitForMessageBox(process_->Id(), kApplicationTitle);
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(MessageBoxText(question), kRestartQuestion);
  AnswerMessageBox(question, IDNO);
  ASSERT_TRUE(WaitUntil([&] { return TextOf(status) == "Restored!"; }));
  EXPECT_EQ(ExportRunKey(std::string(kFolder) + "after.reg"), before)
      << "the start-up key exactly as before the cleanup";
  Click(FindChild(undoWindow, "Button", "Back"));
  ASSERT_TRUE(WaitForWindowGone(process_->Id(), "TfrmRegistryUndo"));
  Exit();
}

TEST_F(RegistryCleanupWindowTest, StopEndsAScanOfEveryCategory) {
  ASSERT_NE(OpenCleanup(), nullptr);
  Click(Button("Run"));
  ASSERT_TRUE(WaitUntil([&] { return Button("Stop") != nullptr; }));
  EXPECT_FALSE(IsWindowEnabled(Button("Back")));
  EXPECT_EQ(Status(), "Working ...");
  Shot("cleanup-scanning.bmp");
  const auto stopped = std::chrono::steady_clock::now();
  Click(Button("Stop"));
  ASSERT_TRUE(WaitUntil([&] { return Status() == "Stopped!"; }, 30s));
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - stopped);
  // The 2.5-second pause at the end of every scan is part of this time.
  std::printf("Stop to \"Stopped!\": %lld ms\n", static_cast<long long>(took.count()));
  EXPECT_NE(Button("Run"), nullptr);
  EXPECT_TRUE(IsWindowEnabled(Button("Back")));
  EXPECT_EQ(Total(), "") << "the total is hidden after a stop";
  for (int row = 0; row < ListViewRowCount(list_); ++row) {
    EXPECT_TRUE(ListViewTicked(list_, row));
  }
  Shot("cleanup-stopped.bmp");
  Click(Button("Back"));
  ASSERT_TRUE(WaitForWindowGone(process_->Id(), "TfrmRegistryCleanup"));
  Exit();
}

}  // namespace
}  // namespace tidewell
