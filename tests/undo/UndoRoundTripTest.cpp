// What the undo file is for: record, delete, restore, and have the registry
// back as it was. Runs over the in-memory store natively and over the real
// registry of a throwaway prefix under Wine.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakeFileSystem.h"
#include "UndoTestDoubles.h"
#include "UndoTestTree.h"
#include "registry/Registry.h"
#include "tests/support/RegistryFixture.h"
#include "tests/support/TestRegistry.h"
#include "undo/UndoFileParser.h"
#include "undo/UndoRestore.h"
#include "undo/Undos.h"

namespace tidewell {
namespace {

using testing::EveryTypeTree;
using testing::FakeFileSystem;
using testing::FixedClock;

class UndoRoundTripTest : public ::testing::Test {
 protected:
  std::string Path() const { return sandbox.Path() + "\\Gone"; }
  std::string Dump() {
    return DumpRegistryTree(*store, TRootKey::CurrentUser, Path());
  }
  void Delete() {
    TRegistry registry(*store);
    registry.SetRootKey(TRootKey::CurrentUser);
    ASSERT_TRUE(registry.DeleteKey("\\" + Path()));
    ASSERT_EQ(Dump(), "");
  }
  // The entries of the file as the disk holds it, all ticked.
  std::vector<TUndoEntry> EntriesOnDisk() {
    const std::string bytes = files.Content(writer.FileName());
    std::vector<TUndoEntry> entries =
        ParseUndoEntries(SplitUndoFileLines(codePage->ToUtf8(bytes)));
    for (TUndoEntry& entry : entries) entry.Ticked = true;
    return entries;
  }

  std::unique_ptr<RegistryStore> store = testing::MakeTestRegistryStore();
  testing::SandboxKey sandbox{
      *store, TRootKey::CurrentUser,
      ::testing::UnitTest::GetInstance()->current_test_info()->name()};
  FakeFileSystem files;
  FixedClock clock;
  std::unique_ptr<TAnsiCodePage> codePage = testing::SystemCodePage();
  TRegUndoFile writer{*store, files, clock, *codePage, "C:\\App\\", "Tidewell"};
};

TEST_F(UndoRoundTripTest, WholeTreeComesBackIdentical) {
  LoadRegistryFixture(*store, EveryTypeTree(Path()));
  const std::string before = Dump();
  ASSERT_TRUE(writer.AddEntry(TRootKey::CurrentUser, Path(), ""));
  writer.Flush();
  Delete();

  std::vector<TUndoEntry> entries = EntriesOnDisk();
  ASSERT_TRUE(RestoreUndo(*store, *codePage, entries));
  EXPECT_EQ(Dump(), before);
}

TEST_F(UndoRoundTripTest, SingleValuesComeBackWithTheirTypes) {
  LoadRegistryFixture(*store, EveryTypeTree(Path()));
  const std::string before = Dump();
  std::vector<std::string> names;
  {
    TRegistry registry(*store);
    registry.SetRootKey(TRootKey::CurrentUser);
    ASSERT_TRUE(registry.OpenKey("\\" + Path(), false));
    registry.GetValueNames(names);
  }
  std::size_t recorded = 0;
  for (const std::string& name : names) {
    if (name.empty()) continue;  // the default value goes with its key
    ASSERT_TRUE(writer.AddEntry(TRootKey::CurrentUser, Path(), name)) << name;
    ++recorded;
    TRegistry registry(*store);
    registry.SetRootKey(TRootKey::CurrentUser);
    ASSERT_TRUE(registry.OpenKey("\\" + Path(), false));
    ASSERT_TRUE(registry.DeleteValue(name)) << name;
  }
  std::vector<TUndoEntry> entries = EntriesOnDisk();
  ASSERT_EQ(entries.size(), recorded);
  ASSERT_TRUE(RestoreUndo(*store, *codePage, entries));
  EXPECT_EQ(Dump(), before);
}

TEST_F(UndoRoundTripTest, CurrentRunsLinesRestoreLikeTheFile) {
  LoadRegistryFixture(*store, EveryTypeTree(Path()));
  const std::string before = Dump();
  ASSERT_TRUE(writer.AddEntry(TRootKey::CurrentUser, Path(), ""));
  Delete();
  std::vector<TUndoEntry> entries = ParseUndoEntries(writer.Lines());
  for (TUndoEntry& entry : entries) entry.Ticked = true;
  ASSERT_TRUE(RestoreUndo(*store, *codePage, entries));
  EXPECT_EQ(Dump(), before);
}

TEST_F(UndoRoundTripTest, KeysWithoutValuesAreRecreated) {
  // A deleted tree often holds keys whose presence alone matters; losing
  // them on the way back would make the undo incomplete.
  const std::string key = "[HKEY_CURRENT_USER\\" + Path();
  LoadRegistryFixture(*store, key + "]\n\"v\"=\"1\"\n" + key + "\\Empty]\n" +
                                  key + "\\Empty\\Deeper]\n" + key + "\\Full]\n\"w\"=\"2\"\n");
  const std::string before = Dump();
  ASSERT_TRUE(writer.AddEntry(TRootKey::CurrentUser, Path(), ""));
  Delete();
  std::vector<TUndoEntry> entries = EntriesOnDisk();
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[1].Key, "HKEY_CURRENT_USER\\" + Path() + "\\Empty");
  EXPECT_EQ(entries[1].Value, "");
  ASSERT_TRUE(RestoreUndo(*store, *codePage, entries));
  EXPECT_EQ(Dump(), before);
}

TEST_F(UndoRoundTripTest, KeyComesBackInTheLetterCaseTheRegistryHeld) {
  // The scan may name a key in another letter case than the registry holds
  // it (both match); the key must come back as the registry had it.
  const std::string key = "[HKEY_CURRENT_USER\\" + Path();
  LoadRegistryFixture(*store, key + "\\VersionIndependentProgID]\n@=\"x.y\"\n" + key +
                                  "\\VersionIndependentProgID\\SubKey]\n\"v\"=\"1\"\n");
  const std::string before = Dump();
  ASSERT_TRUE(writer.AddEntry(TRootKey::CurrentUser, Path() + "\\versionindependentprogid", ""));
  {
    TRegistry registry(*store);
    registry.SetRootKey(TRootKey::CurrentUser);
    ASSERT_TRUE(registry.DeleteKey("\\" + Path() + "\\VersionIndependentProgID"));
  }
  std::vector<TUndoEntry> entries = EntriesOnDisk();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].Key, "HKEY_CURRENT_USER\\" + Path() + "\\VersionIndependentProgID");
  ASSERT_TRUE(RestoreUndo(*store, *codePage, entries));
  EXPECT_EQ(Dump(), before);
}

}  // namespace
}  // namespace tidewell
