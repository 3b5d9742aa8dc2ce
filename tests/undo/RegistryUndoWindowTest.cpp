// tidewell.exe's undo window, driven from outside on a virtual screen: an undo
// file recorded from a tree with every value type is listed and picked, its
// entries restored (the tree comes back exactly), and the files deleted down
// to the last one. Leaves a screenshot in the artifacts folder.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "UndoTestDoubles.h"
#include "UndoTestTree.h"
#include "app/MainWindowTexts.h"
#include "platform/win/WideText.h"
#include "platform/win/WinFileSystem.h"
#include "platform/win/WinProcessRunner.h"
#include "registry/Registry.h"
#include "tests/app/Screenshot.h"
#include "tests/app/WindowDriver.h"
#include "tests/platform/TestDrive.h"
#include "tests/support/RegistryFixture.h"
#include "tests/support/TestRegistry.h"
#include "undo/RegistryUndoPresenter.h"
#include "undo/Undos.h"
#include "undo/win/uRegistryUndo.h"

namespace tidewell {
namespace {

using namespace tidewell::testing;

// The system registry editor's export of one key, as its bytes.
std::string RegEditExport(TestDrive& drive, const std::string& key, const std::string& name) {
  WinProcessRunner processes;
  const std::string file = drive.Path(name);
  EXPECT_TRUE(processes.RunAndWait("regedit /e \"" + file + "\" \"" + key + "\"", drive.Root()));
  std::string bytes;
  EXPECT_TRUE(drive.FileSystem().ReadWholeFile(file, bytes)) << file;
  EXPECT_GT(bytes.size(), 1000u);
  return bytes;
}

int ComboCount(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)); }
int ComboPick(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }

TEST(RegistryUndoWindow, RestoresTheTickedEntriesAndDeletesFilesDownToTheLast) {
  RequireTestPrefix();
  TestDrive drive;
  drive.MakeFolder("Tidewell\\restore");
  const std::string appFolder = drive.Path("Tidewell\\");
  const std::string program = CopyProgramInto(appFolder);

  // A cleanup as the program records it, then the deletion.
  std::unique_ptr<RegistryStore> store = MakeTestRegistryStore();
  SandboxKey sandbox(*store, TRootKey::CurrentUser, "RegistryUndoWindow");
  const std::string path = sandbox.Path() + "\\Gone";
  LoadRegistryFixture(*store, EveryTypeTree(path));
  const std::string before = DumpRegistryTree(*store, TRootKey::CurrentUser, path);
  const std::string exported = RegEditExport(drive, "HKEY_CURRENT_USER\\" + path, "before.reg");
  {
    WinFileSystem files;
    FixedClock clock;
    std::unique_ptr<TAnsiCodePage> codePage = SystemCodePage();
    TRegUndoFile writer(*store, files, clock, *codePage, appFolder, "Tidewell");
    ASSERT_TRUE(writer.AddEntry(TRootKey::CurrentUser, path, ""));
    writer.Flush();
  }
  drive.MakeFile("Tidewell\\restore\\20051108102830.reg",
                 "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Older]\r\n\"o\"=\"1\"\r\n");
  {
    TRegistry registry(*store);
    registry.SetRootKey(TRootKey::CurrentUser);
    ASSERT_TRUE(registry.DeleteKey("\\" + path));
  }

  TDrivenProcess process(program);
  HWND main = WaitForTopWindow(process.Id(), "TfrmMain");
  ASSERT_NE(main, nullptr);
  Click(FindChild(main, "Button", MainButtonText(TMainButton::UndoCleanups).Caption));
  HWND window = WaitForTopWindow(process.Id(), "TfrmRegistryUndo", kUndoWindowCaption);
  ASSERT_NE(window, nullptr);
  HWND list = ChildrenOfClass(window, "SysListView32").at(0);
  HWND combo = ChildrenOfClass(window, "ComboBox").at(0);
  HWND status = ChildrenOfClass(window, "msctls_statusbar32").at(0);
  HWND undo = FindChild(window, "Button", "&Undo");
  HWND remove = FindChild(window, "Button", "&Delete");
  HWND tick = FindChild(window, "Button", "Tick");
  ASSERT_NE(undo, nullptr);
  ASSERT_NE(remove, nullptr);
  ASSERT_NE(tick, nullptr);

  // The newest file is picked with every entry ticked.
  ASSERT_EQ(ComboCount(combo), 2);
  EXPECT_EQ(ComboPick(combo), 1);
  const int rows = ListViewRowCount(list);
  ASSERT_GT(rows, 20);
  for (int row = 0; row < rows; ++row) EXPECT_TRUE(ListViewTicked(list, row)) << row;
  EXPECT_EQ(ListViewCell(list, 0, 0), "HKEY_CURRENT_USER\\" + path);
  EXPECT_TRUE(IsWindowEnabled(undo));
  EXPECT_EQ(TextOf(status), "Ready!");
  EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) &
                (LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES),
            static_cast<LRESULT>(LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES));

  // Columns keep within their limits (Key 300 to 3000, Value 150 to 1500).
  SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(100, 0));
  SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(2000, 0));
  EXPECT_TRUE(WaitUntil([&] {
    return SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0) == 300 &&
           SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0) == 1500;
  })) << SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0);
  SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(328, 0));
  SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(341, 0));

  Settle(window);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Settle(window);
  const std::string shot = ArtifactsFolder() + "registry-undo.bmp";
  ASSERT_TRUE(SaveScreenshot(shot)) << shot;
  std::printf("undo window screenshot: %s\n", shot.c_str());

  // "What's This?" from the system menu: the file group's long hint in a
  // pop-up at most 430 pixels wide.
  PostMessageW(window, WM_SYSCOMMAND, TfrmRegistryUndo::kWhatsThisCommand, 0);
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  ASSERT_TRUE(WaitUntil([&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(thread, &info) && info.hwndCapture == window;
  })) << "help mode did not start";
  RECT box{};
  GetWindowRect(combo, &box);
  POINT centre{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
  ScreenToClient(window, &centre);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
  HWND popup = WaitForTopWindow(process.Id(), "TidewellHelpPopup");
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(TextOf(popup), UndoFileGroupHint());
  GetWindowRect(popup, &box);
  EXPECT_LE(box.right - box.left, 430);
  EXPECT_GT(box.right - box.left, 330) << "wrapped at the window's own width";
  PostMessageW(popup, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_TRUE(WaitForWindowGone(process.Id(), "TidewellHelpPopup"));

  Click(undo);
  HWND question = WaitForMessageBox(process.Id(), kApplicationTitle);
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(MessageBoxText(question), kRestartQuestion);
  AnswerMessageBox(question, IDNO);
  ASSERT_TRUE(WaitUntil([&] { return TextOf(status) == "Restored!"; }));
  EXPECT_EQ(DumpRegistryTree(*store, TRootKey::CurrentUser, path), before);
  EXPECT_EQ(RegEditExport(drive, "HKEY_CURRENT_USER\\" + path, "after.reg"), exported)
      << "the registry editor sees the tree exactly as before the cleanup";
  for (int row = 0; row < rows; ++row) EXPECT_FALSE(ListViewTicked(list, row)) << row;
  EXPECT_FALSE(IsWindowEnabled(undo));

  // A double-click on a row opens the registry editor at that row's key.
  {
    RECT header{};
    GetWindowRect(reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)), &header);
    POINT row{header.left + 150, header.bottom + 6};
    ScreenToClient(list, &row);
    const LPARAM at = MAKELPARAM(row.x, row.y);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    HWND editor = WaitForTopWindow(0, "RegEdit_RegEdit");
    ASSERT_NE(editor, nullptr);
    HWND editorStatus = ChildrenOfClass(editor, "msctls_statusbar32").at(0);
    const std::string key = "HKEY_CURRENT_USER\\" + path;
    ASSERT_TRUE(WaitUntil([&] {
      const std::string shown = TextOf(editorStatus);
      return shown.size() >= key.size() && shown.substr(shown.size() - key.size()) == key;
    })) << TextOf(editorStatus);
    DWORD editorProcess = 0;
    GetWindowThreadProcessId(editor, &editorProcess);
    PostMessageW(editor, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitForWindowGone(editorProcess, "RegEdit_RegEdit"));
  }

  // Delete the picked file, then the last one.
  for (int left = 1; left >= 0; --left) {
    Click(remove);
    HWND asked = WaitForMessageBox(process.Id(), kApplicationTitle);
    ASSERT_NE(asked, nullptr);
    EXPECT_EQ(MessageBoxText(asked), "Delete undo file?");
    AnswerMessageBox(asked, IDYES);
    ASSERT_TRUE(WaitUntil([&] { return ComboCount(combo) == left; })) << left;
    EXPECT_EQ(TextOf(status), "Deleted!");
  }
  EXPECT_TRUE(drive.FileSystem().ListFolder(appFolder + "restore").empty());
  EXPECT_FALSE(IsWindowVisible(undo));
  EXPECT_FALSE(IsWindowVisible(remove));
  EXPECT_FALSE(IsWindowEnabled(tick));
  EXPECT_EQ(ListViewRowCount(list), 0);

  Click(FindChild(window, "Button", "Back"));
  EXPECT_TRUE(WaitForWindowGone(process.Id(), "TfrmRegistryUndo"));
  Click(FindChild(main, "Button", MainButtonText(TMainButton::Exit).Caption));
  ASSERT_TRUE(process.WaitForExit());

  // The window's settings, written at the program's end.
  std::string ini;
  ASSERT_TRUE(drive.FileSystem().ReadWholeFile(appFolder + "RegistryUndo.ini", ini));
  for (const char* line : {"[frmRegistryUndo]", "lvwRegKeys.Columns.Width=\"328,341\"",
                           "gbDeleteUndoFiles.CheckBoxChecked=True", "seOlderThan.Value=7",
                           "FormPlacement="}) {
    EXPECT_NE(ini.find(line), std::string::npos) << line << " in\n" << ini;
  }
}

}  // namespace
}  // namespace tidewell
