// An undo file is also meant for the system registry editor ("Double click on
// this file in Explorer"): importing it there must give the same registry as
// the program's own restore. Runs under Wine only, against the real registry
// of a throwaway prefix, with the real file system, clock and code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "UndoTestTree.h"
#include "platform/TextEncoding.h"
#include "platform/win/WinAnsiCodePage.h"
#include "platform/win/WinClock.h"
#include "platform/win/WinFileSystem.h"
#include "registry/Registry.h"
#include "tests/support/RegistryFixture.h"
#include "tests/support/TestRegistry.h"
#include "undo/UndoFileParser.h"
#include "undo/UndoRestore.h"
#include "undo/Undos.h"

namespace tidewell {
namespace {

std::string TempFolder() {
  wchar_t buffer[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  return Utf16ToUtf8(std::u16string(reinterpret_cast<char16_t*>(buffer), length));
}

// Runs the registry editor's silent import and waits for it.
bool ImportWithRegedit(const std::string& file) {
  wchar_t windows[MAX_PATH + 1];
  GetWindowsDirectoryW(windows, MAX_PATH + 1);
  const std::u16string program =
      reinterpret_cast<char16_t*>(windows) + std::u16string(u"\\regedit.exe");
  std::u16string command = u"regedit.exe /s \"" + Utf8ToUtf16(file) + u"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(reinterpret_cast<const wchar_t*>(program.c_str()),
                      reinterpret_cast<wchar_t*>(command.data()), nullptr,
                      nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  const bool ended = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return ended;
}

class UndoRegeditInteropTest : public ::testing::Test {
 protected:
  std::string Path() const { return sandbox.Path() + "\\Gone"; }
  std::string Dump() {
    return DumpRegistryTree(*store, TRootKey::CurrentUser, Path());
  }
  void Delete() {
    TRegistry registry(*store);
    registry.SetRootKey(TRootKey::CurrentUser);
    ASSERT_TRUE(registry.DeleteKey("\\" + Path()));
  }

  std::unique_ptr<RegistryStore> store = testing::MakeTestRegistryStore();
  testing::SandboxKey sandbox{*store, TRootKey::CurrentUser, "UndoRegedit"};
  WinFileSystem files;
  WinClock clock;
  WinAnsiCodePage codePage;
  std::string appFolder = TempFolder() + "TidewellUndoInterop\\";
};

TEST_F(UndoRegeditInteropTest, RegeditImportEqualsOwnRestore) {
  LoadRegistryFixture(*store,
                      testing::EveryTypeTree(Path(), /*unterminatedString=*/false));
  const std::string before = Dump();
  std::string fileName;
  {
    TRegUndoFile writer(*store, files, clock, codePage, appFolder, "Tidewell");
    ASSERT_TRUE(writer.AddEntry(TRootKey::CurrentUser, Path(), ""));
    writer.Flush();
    fileName = writer.FileName();
    // Held open without sharing for as long as the writer lives.
    std::string bytes;
    EXPECT_FALSE(files.ReadWholeFile(fileName, bytes));
  }
  std::string bytes;
  ASSERT_TRUE(files.ReadWholeFile(fileName, bytes));
  EXPECT_EQ(bytes.substr(0, 10), "REGEDIT4\r\n");
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");

  Delete();
  ASSERT_TRUE(ImportWithRegedit(fileName));
  const std::string imported = Dump();

  Delete();
  std::vector<TUndoEntry> entries =
      ParseUndoEntries(SplitUndoFileLines(codePage.ToUtf8(bytes)));
  for (TUndoEntry& entry : entries) entry.Ticked = true;
  ASSERT_TRUE(RestoreUndo(*store, codePage, entries));
  const std::string restored = Dump();

  EXPECT_EQ(restored, before);
  EXPECT_EQ(imported, restored);
  files.RemoveFile(fileName);
}

}  // namespace
}  // namespace tidewell
