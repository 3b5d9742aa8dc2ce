// The undo window's behaviour over a recording view, an in-memory disk and
// registry, and a clock that stands still.
#include "undo/RegistryUndoPresenter.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "FakeFileSystem.h"
#include "UndoTestDoubles.h"
#include "platform/AnsiCodePage.h"
#include "registry/MemoryRegistryStore.h"
#include "tests/support/RegistryFixture.h"

namespace tidewell {
namespace {

using testing::FailingRegistryStore;
using testing::FakeFileSystem;
using testing::FixedClock;

constexpr std::int64_t kNow = 1'131'445'712;  // 2005-11-08 10:28:32 UTC
constexpr std::int64_t kHour = 3600;
constexpr std::int64_t kDay = 24 * kHour;
constexpr char kFolder[] = "C:\\App\\restore\\";

class RecordingView : public TRegistryUndoView {
 public:
  void ShowFiles(const std::vector<std::string>& names, int pick) override {
    files = names;
    picked = pick;
  }
  void ShowEntries(const std::vector<TUndoEntry>& entries) override {
    rows.clear();
    for (const TUndoEntry& entry : entries) rows.push_back(entry.Ticked);
  }
  void ShowTick(std::size_t row, bool ticked) override { rows.at(row) = ticked; }
  void SetUndoEnabled(bool enabled) override { undoEnabled = enabled; }
  void SetPickedFileGroupVisible(bool visible) override { groupVisible = visible; }
  void SetTickEnabled(bool enabled) override { tickEnabled = enabled; }
  void SetBackEnabled(bool) override {}
  void ShowDeleteOldFiles(bool ticked, int days) override {
    deleteOld = ticked;
    olderThan = days;
  }
  void ShowColumnWidths(const std::vector<int>& shown) override { widths = shown; }
  std::vector<int> ColumnWidths() override { return widths; }
  void ShowStatus(const std::string& text) override { status = text; }
  void ShowError(const std::string& text, bool titled) override {
    errors.push_back((titled ? "" : "untitled: ") + text);
  }
  bool Confirm(const std::string& text) override {
    questions.push_back(text);
    return answer;
  }
  void OpenRegistryEditor(const std::string& key, const std::string& value) override {
    editorAt = key + " | " + value;
  }
  void Close() override {}

  std::vector<std::string> files;
  int picked = -2;
  std::vector<bool> rows;
  bool undoEnabled = true;
  bool groupVisible = true;
  bool tickEnabled = true;
  bool deleteOld = false;
  int olderThan = 0;
  std::vector<int> widths;
  std::string status;
  std::vector<std::string> errors;
  std::vector<std::string> questions;
  bool answer = true;
  std::string editorAt;
};

std::string UndoFile(const std::string& body) {
  return "REGEDIT4\r\n\r\n" + body;
}

class RegistryUndoWindow : public ::testing::Test {
 protected:
  RegistryUndoWindow() { files.CreationTime = kNow; }

  void AddFile(const std::string& name, std::int64_t age, const std::string& body = "") {
    files.AddFile(kFolder + name, UndoFile(body), kNow - age);
  }

  MemoryRegistryStore memory;
  FailingRegistryStore store{memory};
  FakeFileSystem files;
  FixedClock clock;
  Windows1252CodePage codePage;
  TRegUndoFile writer{store, files, clock, codePage, "C:\\App\\", "Tidewell"};
  TSettingsFile settings{kUndoSettingsStore, kUndoSettingsSection};
  std::string folder = "C:\\App\\";
  RecordingView view;
  int restarts = 0;
  TRegistryUndoPresenter presenter{
      view,
      TRegistryUndoSystem{files, codePage, store, writer, [this] { ++restarts; },
                          [] { return kNow; }},
      settings, folder};
};

TEST_F(RegistryUndoWindow, OldFilesAreDeletedOnlyWhileTheBoxIsTicked) {
  AddFile("20051101092832.reg", 7 * kDay + kHour);
  AddFile("20051101112832.reg", 6 * kDay + 23 * kHour);
  AddFile("20051108102832.REG", kHour);
  AddFile("notes.txt", 30 * kDay);
  presenter.Created();
  EXPECT_TRUE(view.deleteOld);
  EXPECT_EQ(view.olderThan, 7);
  presenter.Shown();
  EXPECT_EQ(view.files, std::vector<std::string>{"20051101112832.reg"});
  EXPECT_FALSE(files.FileExists(std::string(kFolder) + "20051101092832.reg"));
  EXPECT_TRUE(files.FileExists(std::string(kFolder) + "20051108102832.REG"));
  EXPECT_TRUE(files.FileExists(std::string(kFolder) + "notes.txt"));

  presenter.DeleteOldFilesClicked(false);
  EXPECT_FALSE(view.deleteOld);
  AddFile("20051001102832.reg", 38 * kDay);
  presenter.Shown();
  EXPECT_EQ(view.files,
            (std::vector<std::string>{"20051001102832.reg", "20051101112832.reg"}));

  // Days from the spin edit count; a longer age limit keeps more.
  presenter.DeleteOldFilesClicked(true);
  presenter.OlderThanChanged(60);
  presenter.Shown();
  EXPECT_EQ(view.files.size(), 2u);
  presenter.OlderThanChanged(1);
  presenter.Shown();
  EXPECT_TRUE(view.files.empty());
}

TEST_F(RegistryUndoWindow, LastFileIsPickedAndThePickIsKeptWithTicksAndUndoFollowing) {
  const std::string body = "[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"1\"\r\n\"b\"=dword:00000002\r\n";
  AddFile("20051108102830.reg", kHour, "[HKEY_CURRENT_USER\\Old]\r\n\"x\"=\"y\"\r\n");
  AddFile("20051108102831.reg", kHour, body);
  presenter.Created();
  presenter.Shown();
  EXPECT_EQ(view.picked, 1);
  EXPECT_EQ(view.rows, (std::vector<bool>{true, true}));
  EXPECT_TRUE(view.undoEnabled);
  EXPECT_TRUE(view.groupVisible);
  EXPECT_TRUE(view.tickEnabled);
  EXPECT_EQ(view.status, "Ready!");

  presenter.FilePicked(0);
  EXPECT_EQ(view.rows, std::vector<bool>{false});
  EXPECT_FALSE(view.undoEnabled);
  presenter.RowTicked(0, true);
  EXPECT_TRUE(view.undoEnabled);
  presenter.TickNone();
  EXPECT_EQ(view.rows, std::vector<bool>{false});
  EXPECT_FALSE(view.undoEnabled);
  presenter.TickAll();
  EXPECT_TRUE(view.undoEnabled);

  presenter.Closed();
  EXPECT_TRUE(view.rows.empty());
  presenter.Shown();
  EXPECT_EQ(view.picked, 0) << "the pick survives the closing";
  EXPECT_EQ(view.rows, std::vector<bool>{true});
}

TEST_F(RegistryUndoWindow, DeleteAsksFirstAndTheLastFileGoneHidesTheGroup) {
  presenter.Shown();  // no restore folder at all
  EXPECT_TRUE(view.files.empty());
  EXPECT_FALSE(view.groupVisible);
  EXPECT_FALSE(view.tickEnabled);

  AddFile("20051108102830.reg", kHour, "[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"1\"\r\n");
  AddFile("20051108102831.reg", kHour, "[HKEY_CURRENT_USER\\K]\r\n\"b\"=\"2\"\r\n");
  presenter.Shown();
  EXPECT_TRUE(view.groupVisible);
  view.answer = false;
  presenter.DeleteClicked();
  EXPECT_EQ(view.questions, std::vector<std::string>{"Delete undo file?"});
  EXPECT_EQ(view.files.size(), 2u);

  view.answer = true;
  presenter.DeleteClicked();
  EXPECT_EQ(view.status, "Deleted!");
  EXPECT_EQ(view.files, std::vector<std::string>{"20051108102830.reg"});
  EXPECT_EQ(view.picked, 0);
  EXPECT_EQ(view.rows, std::vector<bool>{false});
  EXPECT_TRUE(view.groupVisible);
  presenter.DeleteClicked();
  EXPECT_TRUE(view.files.empty());
  EXPECT_TRUE(view.rows.empty());
  EXPECT_FALSE(view.groupVisible);
  EXPECT_FALSE(view.tickEnabled);
  EXPECT_TRUE(view.errors.empty());

  // The run's file is held open by the writer: it is shown from the
  // writer's lines, and deleting it fails with the lists as they were.
  LoadRegistryFixture(memory, "[HKEY_CURRENT_USER\\Now]\n\"n\"=\"1\"\n");
  ASSERT_TRUE(writer.AddEntry(TRootKey::CurrentUser, "Now", "n"));
  presenter.Shown();
  presenter.DeleteClicked();
  EXPECT_EQ(view.errors, std::vector<std::string>{"Error deleting undo file."});
  EXPECT_EQ(view.files, std::vector<std::string>{"20051108102832.reg"});
  EXPECT_EQ(view.rows, std::vector<bool>{true});
  EXPECT_EQ(view.status, "Ready!");
}

TEST_F(RegistryUndoWindow, RestoreWritesTheTickedEntriesAndAsksToRestart) {
  AddFile("20051108102830.reg", kHour,
          "[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"1\"\r\n\"b\"=dword:00000002\r\n");
  presenter.Shown();
  presenter.RowTicked(1, false);
  view.answer = false;
  presenter.UndoClicked();
  EXPECT_EQ(view.status, "Restored!");
  EXPECT_EQ(view.questions, std::vector<std::string>{kRestartQuestion});
  EXPECT_EQ(restarts, 0);
  EXPECT_EQ(view.rows, (std::vector<bool>{false, false}));
  EXPECT_FALSE(view.undoEnabled);
  EXPECT_EQ(DumpRegistryTree(memory, TRootKey::CurrentUser, "K"),
            "[HKEY_CURRENT_USER\\K]\n\"a\"=\"1\"\n");

  presenter.TickAll();
  view.answer = true;
  presenter.UndoClicked();
  EXPECT_EQ(restarts, 1);
  EXPECT_TRUE(view.errors.empty());
}

TEST_F(RegistryUndoWindow, FailedRestoreSaysHowManyAndKeepsThoseTicked) {
  AddFile("20051108102830.reg", kHour,
          "[HKEY_CURRENT_USER\\Fine]\r\n\"a\"=\"1\"\r\n"
          "[HKEY_CURRENT_USER\\Locked]\r\n\"b\"=\"2\"\r\n\"c\"=\"3\"\r\n"
          "[HKEY_CURRENT_USER\\AlsoFine]\r\n\"d\"=\"4\"\r\n");
  store.FailCreateKey = {"Locked"};
  presenter.Shown();
  view.status = "before";
  presenter.UndoClicked();
  EXPECT_EQ(view.errors,
            std::vector<std::string>{"2 ticked entries could not be restored. They are still ticked."});
  EXPECT_EQ(view.rows, (std::vector<bool>{false, true, true, false}));
  EXPECT_TRUE(view.undoEnabled);
  EXPECT_EQ(view.status, "before");
  EXPECT_TRUE(view.questions.empty());
}

TEST_F(RegistryUndoWindow, SettingsAreReadAtCreationAndStored) {
  settings.WriteIntegerList(kColumnWidthsKey, {100, 9999});
  settings.WriteBool(kDeleteOldFilesKey, false);
  settings.WriteInteger(kOlderThanKey, 99);
  presenter.Created();
  EXPECT_EQ(view.widths, (std::vector<int>{300, 1500})) << "kept within the limits";
  EXPECT_FALSE(view.deleteOld);
  EXPECT_EQ(view.olderThan, 60);

  view.widths = {3001, 222};
  presenter.DeleteOldFilesClicked(true);
  presenter.OlderThanChanged(14);
  presenter.Closed();
  EXPECT_EQ(settings.Text(),
            "[frmRegistryUndo]\r\n"
            "lvwRegKeys.Columns.Width=\"3000,222\"\r\n"
            "gbDeleteUndoFiles.CheckBoxChecked=True\r\n"
            "seOlderThan.Value=14\r\n\r\n");

  TSettingsFile fresh{kUndoSettingsStore, kUndoSettingsSection};
  TRegistryUndoPresenter defaults{
      view, TRegistryUndoSystem{files, codePage, store, writer, [] {}, [] { return kNow; }},
      fresh, folder};
  defaults.Created();
  EXPECT_EQ(view.widths, (std::vector<int>{328, 341}));
  EXPECT_TRUE(view.deleteOld);
  EXPECT_EQ(view.olderThan, 7);
}

TEST_F(RegistryUndoWindow, DoubleClickOpensTheEditorAtTheRowsKeyOrAsksForARow) {
  AddFile("20051108102830.reg", kHour,
          "[HKEY_CURRENT_USER\\Software\\K]\r\n\"Na\\\"me\"=\"1\"\r\n@=\"d\"\r\n");
  presenter.Shown();
  presenter.RowDoubleClicked(-1);
  EXPECT_EQ(view.errors, std::vector<std::string>{"untitled: Please select an entry first."});
  presenter.RowDoubleClicked(0);
  EXPECT_EQ(view.editorAt, "HKEY_CURRENT_USER\\Software\\K | Na\"me");
  presenter.RowDoubleClicked(1);
  EXPECT_EQ(view.editorAt, "HKEY_CURRENT_USER\\Software\\K | ");
}

}  // namespace
}  // namespace tidewell
