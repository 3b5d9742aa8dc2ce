// The scan's key tests: each key asked of the registry once, and no answer
// given for a key that was not asked about.
#include "scan/KeyTestCache.h"

#include <gtest/gtest.h>

#include "bench/CountingRegistryStore.h"
#include "registry/MemoryRegistryStore.h"

namespace tidewell {
namespace {

TEST(KeyTestCache, AsksEachKeyOnceAndNeverAnswersForAnotherKey) {
  MemoryRegistryStore memory;
  {
    TRegistry writer(memory);
    writer.SetRootKey(TRootKey::LocalMachine);
    ASSERT_TRUE(writer.OpenKey("\\Software\\Classes\\CLSID\\{A}", true));
  }
  CountingRegistryStore store(memory);
  TRegistry registry(store);
  registry.SetRootKey(TRootKey::LocalMachine);
  TKeyTestCache keys;

  EXPECT_TRUE(keys.KeyExists(registry, "Software\\Classes\\CLSID\\{A}\\"));
  EXPECT_FALSE(keys.KeyExists(registry, "Software\\Classes\\CLSID\\{B}\\"));
  const std::uint64_t asked = store.Snapshot().open;
  // The same keys however the path is spelt: no more opens.
  EXPECT_TRUE(keys.KeyExists(registry, "\\SOFTWARE\\classes\\clsid\\{a}"));
  EXPECT_FALSE(keys.KeyExists(registry, "Software\\Classes\\CLSID\\{b}"));
  EXPECT_EQ(store.Snapshot().open, asked);

  // Another root, another view, a path from an open key: asked anew.
  registry.SetRootKey(TRootKey::CurrentUser);
  EXPECT_FALSE(keys.KeyExists(registry, "Software\\Classes\\CLSID\\{A}"));
  registry.SetRootKey(TRootKey::LocalMachine);
  registry.SetView(access::Wow64Key32);
  keys.KeyExists(registry, "Software\\Classes\\CLSID\\{A}");
  registry.SetView(0);
  ASSERT_TRUE(registry.OpenKeyReadOnly("\\Software\\Classes"));
  EXPECT_TRUE(keys.KeyExists(registry, "CLSID\\{A}"));
  EXPECT_TRUE(keys.KeyExists(registry, "CLSID\\{A}"));
  registry.CloseKey();
  // One each for the root and the view, one for the open, two relative.
  EXPECT_EQ(store.Snapshot().open, asked + 1 + 1 + 1 + 2);

  // A key made after the cache was emptied is found.
  {
    TRegistry writer(memory);
    writer.SetRootKey(TRootKey::LocalMachine);
    ASSERT_TRUE(writer.OpenKey("\\Software\\Classes\\CLSID\\{B}", true));
  }
  EXPECT_FALSE(keys.KeyExists(registry, "Software\\Classes\\CLSID\\{B}"));
  keys.Clear();
  EXPECT_TRUE(keys.KeyExists(registry, "Software\\Classes\\CLSID\\{B}"));
}

TEST(KeyTestCache, AnswersEntriesOfAWholeListingWithoutAsking) {
  MemoryRegistryStore memory;
  {
    TRegistry writer(memory);
    writer.SetRootKey(TRootKey::LocalMachine);
    for (const char* key : {"\\Classes\\CLSID\\{A}\\InprocServer32",
                            "\\Classes\\Mixed\\\xC3\x84", "\\Classes\\Mixed\\B"}) {
      ASSERT_TRUE(writer.OpenKey(key, true));
      writer.CloseKey();
    }
  }
  CountingRegistryStore store(memory);
  TRegistry registry(store);
  registry.SetRootKey(TRootKey::LocalMachine);
  TKeyTestCache keys;
  const auto listed = [&](const std::string& folder) {
    std::vector<std::string> names;
    EXPECT_TRUE(registry.OpenKeyReadOnly(folder));
    EXPECT_TRUE(registry.GetKeyNames(names));
    registry.CloseKey();
    keys.NoteListing(registry, folder, std::move(names));
  };
  listed("Classes\\CLSID\\");
  listed("\\classes\\mixed");
  listed("");
  const std::uint64_t asked = store.Snapshot().open;

  EXPECT_TRUE(keys.KeyExists(registry, "classes\\"));
  EXPECT_FALSE(keys.KeyExists(registry, "Gone"));
  EXPECT_TRUE(keys.KeyExists(registry, "Classes\\CLSID\\{a}\\"));
  EXPECT_FALSE(keys.KeyExists(registry, "\\CLASSES\\clsid\\{B}"));
  EXPECT_TRUE(keys.KeyExists(registry, "Classes\\Mixed\\b"));
  EXPECT_EQ(store.Snapshot().open, asked);

  // Asked: a name the listing cannot rule out because the folder holds a
  // name outside ASCII, one outside ASCII, a key below an entry, a folder
  // never listed, and a listed folder in the other view.
  EXPECT_FALSE(keys.KeyExists(registry, "Classes\\Mixed\\C"));
  EXPECT_TRUE(keys.KeyExists(registry, "Classes\\Mixed\\\xC3\x84"));
  EXPECT_TRUE(keys.KeyExists(registry, "Classes\\CLSID\\{A}\\InprocServer32"));
  EXPECT_FALSE(keys.KeyExists(registry, "Classes\\Gone\\{A}"));
  registry.SetView(access::Wow64Key32);
  keys.KeyExists(registry, "Classes\\CLSID\\{A}");
  registry.SetView(0);
  EXPECT_EQ(store.Snapshot().open, asked + 5);

  // A walk of a listed folder takes its names as listed, however the path is
  // spelt; a later listing of it changes nothing.
  ASSERT_NE(keys.ListingOf(registry, "\\CLASSES\\Mixed\\"), nullptr);
  EXPECT_EQ(*keys.ListingOf(registry, "\\CLASSES\\Mixed\\"),
            (std::vector<std::string>{"B", "\xC3\x84"}));
  EXPECT_EQ(keys.NoteListing(registry, "Classes\\Mixed", {"Other"}),
            (std::vector<std::string>{"B", "\xC3\x84"}));
  EXPECT_EQ(keys.ListingOf(registry, "Classes\\Gone"), nullptr);

  // The listings go with the scan.
  keys.Clear();
  EXPECT_EQ(keys.ListingOf(registry, "Classes\\Mixed"), nullptr);
  EXPECT_FALSE(keys.KeyExists(registry, "Classes\\CLSID\\{B}"));
  EXPECT_EQ(store.Snapshot().open, asked + 6);
}

}  // namespace
}  // namespace tidewell
