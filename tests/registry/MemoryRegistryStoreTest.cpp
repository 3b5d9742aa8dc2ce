// The in-memory store answers as the Windows registry does through the W API:
// names, order, the HKEY_CLASSES_ROOT merge, rights, limits, handles, hive
// calls and use from two threads.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/TextEncoding.h"
#include "registry/MemoryRegistryStore.h"

namespace tidewell::store_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const KeyHandle kMachine = RootHandle(TRootKey::LocalMachine);
const KeyHandle kUser = RootHandle(TRootKey::CurrentUser);
const KeyHandle kUsers = RootHandle(TRootKey::Users);
const KeyHandle kClasses = RootHandle(TRootKey::ClassesRoot);

std::vector<std::uint8_t> Sz(const std::string& text) {
  const std::string bytes = Utf16LeBytes(Utf8ToUtf16(text), true);
  return {bytes.begin(), bytes.end()};
}

// Named after the store so the suite reads "MemoryRegistryStore.<case>".
class MemoryRegistryStore : public ::testing::Test {
 protected:
  KeyHandle Create(KeyHandle base, const std::string& path,
                   std::uint32_t rights = access::KeyAllAccess) {
    KeyHandle key = kNoKey;
    EXPECT_EQ(store_.CreateKey(base, path, rights, &key), regerr::Success)
        << path;
    return key;
  }
  KeyHandle Open(KeyHandle base, const std::string& path,
                 std::uint32_t rights = access::KeyAllAccess) {
    KeyHandle key = kNoKey;
    EXPECT_EQ(store_.OpenKey(base, path, rights, &key), regerr::Success)
        << path;
    return key;
  }
  long OpenResult(KeyHandle base, const std::string& path) {
    KeyHandle key = kNoKey;
    const long rc = store_.OpenKey(base, path, access::KeyRead, &key);
    if (rc == regerr::Success) store_.CloseKey(key);
    return rc;
  }
  void Set(KeyHandle key, const std::string& name, const std::string& text) {
    const std::vector<std::uint8_t> data = Sz(text);
    ASSERT_EQ(store_.SetValue(key, name, regtype::String, data.data(),
                              data.size()),
              regerr::Success)
        << name;
  }
  std::string Get(KeyHandle key, const std::string& name) {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    if (store_.QueryValue(key, name, &type, &data) != regerr::Success)
      return "<missing>";
    std::u16string units;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2)
      units += static_cast<char16_t>(data[i] | data[i + 1] << 8);
    if (!units.empty() && units.back() == 0) units.pop_back();
    return Utf16ToUtf8(units);
  }
  std::vector<std::string> SubKeys(KeyHandle key) {
    std::vector<std::string> names;
    std::string name;
    for (std::uint32_t i = 0; store_.EnumKey(key, i, &name) == 0; ++i)
      names.push_back(name);
    return names;
  }
  std::vector<std::string> Values(KeyHandle key) {
    std::vector<std::string> names;
    std::string name;
    for (std::uint32_t i = 0; store_.EnumValue(key, i, &name) == 0; ++i)
      names.push_back(name);
    return names;
  }

  // ".Both" in both Classes trees, spelt differently, with a subkey in each;
  // one key in each tree alone.
  void PlantClasses() {
    Set(Create(kUser, "Software\\Classes\\.Both"), "", "user");
    Set(Create(kMachine, "Software\\Classes\\.BOTH"), "", "machine");
    Set(Create(kMachine, "Software\\Classes\\.BOTH"), "MachineOnlyValue", "m");
    Set(Create(kMachine, "Software\\Classes\\MachineOnly"), "", "machine");
    Set(Create(kUser, "Software\\Classes\\UserOnly"), "", "user");
    store_.CloseKey(Create(kUser, "Software\\Classes\\.Both\\UserSub"));
    store_.CloseKey(Create(kMachine, "Software\\Classes\\.Both\\MachineSub"));
  }

  tidewell::MemoryRegistryStore store_;
};

// A folder of its own for the files one test writes, removed afterwards.
class TempFolder {
 public:
  TempFolder()
      : path_(std::filesystem::temp_directory_path() /
              ("tidewell-memstore-" +
               std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()))) {
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// ---- Names and order -------------------------------------------------------

TEST_F(MemoryRegistryStore, NamesIgnoreLetterCaseAndKeepTheFirstSpelling) {
  KeyHandle foo = Create(kMachine, "Software\\Foo");
  KeyHandle again = Create(kMachine, "SOFTWARE\\FOO");
  Set(foo, "Name", "first");
  Set(again, "NAME", "second");
  EXPECT_EQ(Get(foo, "name"), "second");
  EXPECT_THAT(Values(foo), ElementsAre("Name"));
  EXPECT_THAT(SubKeys(Open(kMachine, "software")), ElementsAre("Classes", "Foo"));
  EXPECT_THAT(SubKeys(kMachine), ElementsAre("SOFTWARE"));

  // Letters beyond ASCII fold too, as Windows folds them.
  Create(kMachine, "Software\\\xC3\xA9t\xC3\xA9");          // "été"
  EXPECT_EQ(OpenResult(kMachine, "software\\\xC3\x89T\xC3\x89"), 0);  // "ÉTÉ"
  Create(kMachine, "Software\\\xD0\xB4\xD0\xB0");           // Cyrillic "да"
  EXPECT_EQ(OpenResult(kMachine, "Software\\\xD0\x94\xD0\x90"), 0);  // "ДА"
}

TEST_F(MemoryRegistryStore, SubKeysComeInUpperCasedNameOrder) {
  KeyHandle parent = Create(kUser, "Order");
  for (const char* name : {"b", "AB", "A_", "a", "C", "_x"})
    store_.CloseKey(Create(parent, name));
  // Upper-cased, '_' (0x5F) sorts after every letter; Wine, comparing
  // lower-cased names, would give "_x", "a", "A_", "AB", "b", "C".
  EXPECT_THAT(SubKeys(parent), ElementsAre("a", "AB", "A_", "b", "C", "_x"));
}

TEST_F(MemoryRegistryStore, ValuesComeInCreationOrder) {
  KeyHandle key = Create(kUser, "Order");
  for (const char* name : {"b", "A_", "", "a"}) Set(key, name, name);
  Set(key, "B", "rewritten");      // keeps its place and its spelling
  ASSERT_EQ(store_.DeleteValue(key, "A_"), 0);
  Set(key, "a_", "again");         // re-created: goes to the end
  EXPECT_THAT(Values(key), ElementsAre("b", "", "a", "a_"));
  EXPECT_EQ(Get(key, "b"), "rewritten");
}

TEST_F(MemoryRegistryStore, ManyValuesKeepOrderThroughRewritesAndDeletes) {
  KeyHandle key = Create(kUser, "Many");
  std::vector<std::string> expected;
  for (int i = 0; i < 100; ++i) Set(key, "v" + std::to_string(i), "x");
  for (int i = 0; i < 100; i += 3)
    ASSERT_EQ(store_.DeleteValue(key, "V" + std::to_string(i)), 0);
  for (int i = 0; i < 100; ++i) {
    if (i % 3) expected.push_back("v" + std::to_string(i));
  }
  Set(key, "V50", "rewritten");
  Set(key, "V0", "new");
  expected.push_back("V0");
  EXPECT_EQ(Values(key), expected);
  EXPECT_EQ(Get(key, "v50"), "rewritten");
  EXPECT_EQ(Get(key, "v3"), "<missing>");
  EXPECT_EQ(Get(key, "v0"), "new");
}

TEST_F(MemoryRegistryStore, EnumeratesBackwardsWhileDeletingFromTheEnd) {
  KeyHandle parent = Create(kUser, "Tree");
  for (int i = 0; i < 300; ++i) store_.CloseKey(Create(parent, "k" + std::to_string(1000 + i)));
  KeyInfo info;
  ASSERT_EQ(store_.QueryInfoKey(parent, &info), 0);
  ASSERT_EQ(info.subKeyCount, 300u);
  // The pattern of a tree deletion: last index first, each name deleted.
  for (std::uint32_t i = info.subKeyCount; i-- > 0;) {
    std::string name;
    ASSERT_EQ(store_.EnumKey(parent, i, &name), 0);
    EXPECT_EQ(name, "k" + std::to_string(1000 + i));
    ASSERT_EQ(store_.DeleteKey(parent, name), 0);
  }
  EXPECT_THAT(SubKeys(parent), IsEmpty());
}

// ---- HKEY_CURRENT_USER and HKEY_CLASSES_ROOT -------------------------------

TEST_F(MemoryRegistryStore, CurrentUserIsTheUsersKeyOfItsSid) {
  Set(Create(kUser, "Software\\Mine"), "v", "through HKCU");
  KeyHandle viaUsers = Open(kUsers, std::string(tidewell::MemoryRegistryStore::kCurrentUserSid) +
                                        "\\Software\\Mine");
  EXPECT_EQ(Get(viaUsers, "v"), "through HKCU");
  EXPECT_THAT(SubKeys(kUsers), ElementsAre(tidewell::MemoryRegistryStore::kCurrentUserSid));
  EXPECT_EQ(store_.DeleteKey(kUsers, tidewell::MemoryRegistryStore::kCurrentUserSid),
            regerr::AccessDenied);
}

TEST_F(MemoryRegistryStore, StartsWithTheKeysClassesRootStandsOn) {
  EXPECT_THAT(SubKeys(kMachine), ElementsAre("SOFTWARE"));
  EXPECT_THAT(SubKeys(Open(kMachine, "Software")), ElementsAre("Classes"));
  EXPECT_THAT(SubKeys(Open(kUser, "Software")), ElementsAre("Classes"));
  EXPECT_THAT(SubKeys(kClasses), IsEmpty());
  for (const char* path : {"SOFTWARE\\Classes", "SOFTWARE"})
    EXPECT_EQ(store_.DeleteKey(kMachine, path), regerr::AccessDenied) << path;
  EXPECT_EQ(store_.DeleteKey(kUser, "Software\\Classes"), regerr::AccessDenied);
}

TEST_F(MemoryRegistryStore, ClassesRootOpensKeysOfEitherTree) {
  PlantClasses();
  EXPECT_EQ(Get(Open(kClasses, "machineonly"), ""), "machine");
  EXPECT_EQ(Get(Open(kClasses, "useronly"), ""), "user");
  EXPECT_EQ(OpenResult(kClasses, "NoWhere"), regerr::FileNotFound);
}

TEST_F(MemoryRegistryStore, ClassesRootListsTheSubKeysOfBothTreesOnceEach) {
  PlantClasses();
  EXPECT_THAT(SubKeys(kClasses), ElementsAre(".Both", "MachineOnly", "UserOnly"));
  KeyHandle both = Open(kClasses, ".both");
  EXPECT_THAT(SubKeys(both), ElementsAre("MachineSub", "UserSub"));
  KeyInfo info;
  ASSERT_EQ(store_.QueryInfoKey(kClasses, &info), 0);
  EXPECT_EQ(info.subKeyCount, 3u);
  EXPECT_EQ(info.maxSubKeyNameLength, 11u);  // "MachineOnly"
}

TEST_F(MemoryRegistryStore, ClassesRootValuesAreTheUserKeysWhenItExists) {
  PlantClasses();
  KeyHandle both = Open(kClasses, ".both");
  EXPECT_EQ(Get(both, ""), "user");
  EXPECT_THAT(Values(both), ElementsAre(""));  // the machine's extra value is hidden
  Set(both, "Written", "here");
  EXPECT_EQ(Get(Open(kUser, "Software\\Classes\\.Both"), "Written"), "here");
  EXPECT_EQ(Get(Open(kMachine, "Software\\Classes\\.Both"), "Written"), "<missing>");

  Set(Open(kClasses, "MachineOnly"), "Written", "there");
  EXPECT_EQ(Get(Open(kMachine, "Software\\Classes\\MachineOnly"), "Written"), "there");
}

TEST_F(MemoryRegistryStore, ClassesRootCreatesNewKeysUnderTheMachineClasses) {
  PlantClasses();
  store_.CloseKey(Create(kClasses, "Fresh\\Deeper"));
  EXPECT_EQ(OpenResult(kMachine, "Software\\Classes\\Fresh\\Deeper"), 0);
  EXPECT_EQ(OpenResult(kUser, "Software\\Classes\\Fresh"), regerr::FileNotFound);
  // Creating an existing key opens it, wherever it is.
  EXPECT_EQ(Get(Create(kClasses, "UserOnly"), ""), "user");
}

TEST_F(MemoryRegistryStore, ClassesRootDeletesTheUserKeyFirstThenTheMachineKey) {
  PlantClasses();
  store_.CloseKey(Create(kUser, "Software\\Classes\\Twin"));
  store_.CloseKey(Create(kMachine, "Software\\Classes\\Twin"));
  ASSERT_EQ(store_.DeleteKey(kClasses, "twin"), 0);
  EXPECT_EQ(OpenResult(kUser, "Software\\Classes\\Twin"), regerr::FileNotFound);
  EXPECT_EQ(OpenResult(kMachine, "Software\\Classes\\Twin"), 0);
  ASSERT_EQ(store_.DeleteKey(kClasses, "twin"), 0);
  EXPECT_EQ(OpenResult(kClasses, "Twin"), regerr::FileNotFound);
  EXPECT_EQ(store_.DeleteKey(kClasses, "twin"), regerr::FileNotFound);
  EXPECT_EQ(store_.DeleteKey(kClasses, ""), regerr::AccessDenied);
}

// ---- Handles ---------------------------------------------------------------

TEST_F(MemoryRegistryStore, HandlesAreFreshAndNeverRootsOrZero) {
  std::vector<KeyHandle> seen;
  for (int i = 0; i < 20; ++i) {
    KeyHandle key = Create(kMachine, "Software");
    EXPECT_NE(key, kNoKey);
    EXPECT_FALSE(key >= kClasses && key <= kUsers);
    EXPECT_THAT(seen, ::testing::Not(::testing::Contains(key)));
    seen.push_back(key);
  }
  EXPECT_EQ(store_.OpenHandleCount(), 20u);
  for (KeyHandle key : seen) EXPECT_EQ(store_.CloseKey(key), 0);
  EXPECT_EQ(store_.OpenHandleCount(), 0u);
  EXPECT_NE(Create(kMachine, "Software"), seen.back());  // not reused
}

TEST_F(MemoryRegistryStore, UnknownAndClosedHandlesAreInvalid) {
  KeyHandle key = Create(kMachine, "Software");
  ASSERT_EQ(store_.CloseKey(key), 0);
  std::string name;
  EXPECT_EQ(store_.CloseKey(key), regerr::InvalidHandle);
  EXPECT_EQ(store_.EnumKey(key, 0, &name), regerr::InvalidHandle);
  EXPECT_EQ(store_.QueryValue(key, "", nullptr, nullptr), regerr::InvalidHandle);
  EXPECT_EQ(store_.CloseKey(kNoKey), regerr::InvalidHandle);
  EXPECT_EQ(store_.FlushKey(0x80000004u), regerr::InvalidHandle);  // HKEY_PERFORMANCE_DATA

  // Roots stay usable after being "closed".
  EXPECT_EQ(store_.CloseKey(kMachine), 0);
  EXPECT_EQ(store_.EnumKey(kMachine, 0, &name), 0);
  EXPECT_EQ(name, "SOFTWARE");
}

TEST_F(MemoryRegistryStore, HandleOfADeletedKeyAnswersKeyDeleted) {
  KeyHandle doomed = Create(kUser, "Doomed");
  Set(doomed, "v", "x");
  ASSERT_EQ(store_.DeleteKey(kUser, "doomed"), 0);
  std::string name;
  KeyInfo info;
  KeyHandle child = kNoKey;
  const std::uint8_t byte = 1;
  EXPECT_EQ(store_.QueryValue(doomed, "v", nullptr, nullptr), regerr::KeyDeleted);
  EXPECT_EQ(store_.SetValue(doomed, "v", regtype::Binary, &byte, 1), regerr::KeyDeleted);
  EXPECT_EQ(store_.EnumValue(doomed, 0, &name), regerr::KeyDeleted);
  EXPECT_EQ(store_.EnumKey(doomed, 0, &name), regerr::KeyDeleted);
  EXPECT_EQ(store_.QueryInfoKey(doomed, &info), regerr::KeyDeleted);
  EXPECT_EQ(store_.CreateKey(doomed, "Child", access::KeyAllAccess, &child), regerr::KeyDeleted);
  EXPECT_EQ(store_.DeleteKey(doomed, ""), regerr::KeyDeleted);

  // A new key of the same name is another key.
  Create(kUser, "Doomed");
  EXPECT_EQ(store_.QueryValue(doomed, "v", nullptr, nullptr), regerr::KeyDeleted);
  EXPECT_EQ(store_.CloseKey(doomed), 0);
}

// ---- Rights ----------------------------------------------------------------

TEST_F(MemoryRegistryStore, EachCallNeedsItsRight) {
  Set(Create(kUser, "Rights"), "v", "x");
  store_.CloseKey(Create(kUser, "Rights\\Existing"));
  const std::uint8_t byte = 1;
  std::string name;
  KeyInfo info;
  KeyHandle child = kNoKey;

  KeyHandle setOnly = Open(kUser, "Rights", access::SetValue);
  EXPECT_EQ(store_.QueryValue(setOnly, "v", nullptr, nullptr), regerr::AccessDenied);
  EXPECT_EQ(store_.EnumValue(setOnly, 0, &name), regerr::AccessDenied);
  EXPECT_EQ(store_.QueryInfoKey(setOnly, &info), regerr::AccessDenied);
  EXPECT_EQ(store_.EnumKey(setOnly, 0, &name), regerr::AccessDenied);
  EXPECT_EQ(store_.SetValue(setOnly, "w", regtype::Binary, &byte, 1), 0);
  EXPECT_EQ(store_.DeleteValue(setOnly, "w"), 0);

  KeyHandle read = Open(kUser, "Rights", access::KeyRead);
  EXPECT_EQ(store_.QueryValue(read, "v", nullptr, nullptr), 0);
  EXPECT_EQ(store_.EnumKey(read, 0, &name), 0);
  EXPECT_EQ(store_.SetValue(read, "w", regtype::Binary, &byte, 1), regerr::AccessDenied);
  EXPECT_EQ(store_.DeleteValue(read, "v"), regerr::AccessDenied);
  // Creating and deleting subkeys ask nothing of the base handle (Windows
  // checks the keys' security descriptors instead).
  EXPECT_EQ(store_.CreateKey(read, "New", access::KeyRead, &child), 0);
  EXPECT_EQ(store_.SetValue(child, "w", regtype::Binary, &byte, 1), regerr::AccessDenied);
  EXPECT_EQ(store_.DeleteKey(read, "Existing"), 0);
  EXPECT_EQ(store_.DeleteKey(Open(kUser, "Rights", 0), "New"), 0);

  KeyHandle queryOnly = Open(kUser, "Rights", access::QueryValue);
  EXPECT_EQ(store_.EnumKey(queryOnly, 0, &name), regerr::AccessDenied);
  EXPECT_EQ(store_.QueryInfoKey(queryOnly, &info), 0);

  KeyHandle generic = Open(kUser, "Rights", 0x80000000u);  // GENERIC_READ
  EXPECT_EQ(store_.QueryValue(generic, "v", nullptr, nullptr), 0);
  EXPECT_EQ(store_.SetValue(generic, "w", regtype::Binary, &byte, 1), regerr::AccessDenied);
}

TEST_F(MemoryRegistryStore, MissingRightIsReportedBeforeTheDeletion) {
  KeyHandle key = Create(kUser, "Gone", access::SetValue);
  ASSERT_EQ(store_.DeleteKey(kUser, "Gone"), 0);
  EXPECT_EQ(store_.QueryValue(key, "", nullptr, nullptr), regerr::AccessDenied);
  EXPECT_EQ(store_.DeleteValue(key, ""), regerr::KeyDeleted);
}

// ---- Limits ----------------------------------------------------------------

TEST_F(MemoryRegistryStore, KeyNamesAreLimitedTo255Utf16Units) {
  KeyHandle key = kNoKey;
  EXPECT_EQ(store_.CreateKey(kUser, std::string(255, 'k'), access::KeyAllAccess, &key), 0);
  EXPECT_EQ(store_.CreateKey(kUser, "Ok\\" + std::string(256, 'k'), access::KeyAllAccess, &key),
            regerr::InvalidParameter);
  EXPECT_EQ(OpenResult(kUser, "Ok"), regerr::FileNotFound);  // nothing half-made
  EXPECT_EQ(OpenResult(kUser, std::string(256, 'k')), regerr::InvalidParameter);
  // Counted in UTF-16 units: "é" is 2 bytes but 1 unit, U+1F600 is 2 units.
  std::string accented;
  for (int i = 0; i < 255; ++i) accented += "\xC3\xA9";
  EXPECT_EQ(store_.CreateKey(kUser, accented, access::KeyAllAccess, &key), 0);
  std::string emoji;
  for (int i = 0; i < 128; ++i) emoji += "\xF0\x9F\x98\x80";
  EXPECT_EQ(store_.CreateKey(kUser, emoji, access::KeyAllAccess, &key), regerr::InvalidParameter);
}

TEST_F(MemoryRegistryStore, PathsSkipRepeatedBackslashesAndRefuseALeadingOne) {
  store_.CloseKey(Create(kUser, "A\\\\B"));
  EXPECT_THAT(SubKeys(Open(kUser, "A")), ElementsAre("B"));
  EXPECT_EQ(OpenResult(kUser, "A\\\\\\B"), 0);
  EXPECT_EQ(OpenResult(kUser, "\\A"), regerr::BadPathname);
}

TEST_F(MemoryRegistryStore, ValueNamesAreLimitedTo16383Units) {
  KeyHandle key = Create(kUser, "Values");
  const std::uint8_t byte = 7;
  EXPECT_EQ(store_.SetValue(key, std::string(16383, 'v'), regtype::Binary, &byte, 1), 0);
  EXPECT_EQ(store_.SetValue(key, std::string(16384, 'v'), regtype::Binary, &byte, 1),
            regerr::InvalidParameter);
  KeyInfo info;
  ASSERT_EQ(store_.QueryInfoKey(key, &info), 0);
  EXPECT_EQ(info.valueCount, 1u);
  EXPECT_EQ(info.maxValueNameLength, 16383u);
}

TEST_F(MemoryRegistryStore, MissingThingsAndTheEndOfLists) {
  KeyHandle key = Create(kUser, "Parent\\Child");
  KeyHandle parent = Open(kUser, "Parent");
  std::string name;
  EXPECT_EQ(OpenResult(kUser, "Parent\\Nope"), regerr::FileNotFound);
  EXPECT_EQ(store_.QueryValue(key, "nope", nullptr, nullptr), regerr::FileNotFound);
  EXPECT_EQ(store_.DeleteValue(key, "nope"), regerr::FileNotFound);
  EXPECT_EQ(store_.DeleteKey(kUser, "Parent\\Nope"), regerr::FileNotFound);
  EXPECT_EQ(store_.EnumValue(key, 0, &name), regerr::NoMoreItems);
  EXPECT_EQ(store_.EnumKey(parent, 1, &name), regerr::NoMoreItems);
  EXPECT_EQ(store_.DeleteKey(kUser, "Parent"), regerr::AccessDenied);  // has a subkey
}

TEST_F(MemoryRegistryStore, EmptySubKeyDeletesTheHandlesOwnKeyButNeverARoot) {
  KeyHandle key = Create(kUser, "Self");
  EXPECT_EQ(store_.DeleteKey(key, ""), 0);
  EXPECT_EQ(OpenResult(kUser, "Self"), regerr::FileNotFound);
  for (TRootKey root : {TRootKey::LocalMachine, TRootKey::Users,
                        TRootKey::CurrentUser, TRootKey::ClassesRoot})
    EXPECT_EQ(store_.DeleteKey(RootHandle(root), ""), regerr::AccessDenied);
}

// ---- Data and key information ----------------------------------------------

TEST_F(MemoryRegistryStore, KeepsTypeAndEveryByteAndReportsMaxima) {
  KeyHandle key = Create(kUser, "Data");
  const std::vector<std::uint8_t> bytes = {0, 1, 0, 0xFF, 0};
  ASSERT_EQ(store_.SetValue(key, "\xC3\xA9t\xC3\xA9", 0x4711, bytes.data(), bytes.size()), 0);
  ASSERT_EQ(store_.SetValue(key, "", regtype::None, nullptr, 0), 0);
  store_.CloseKey(Create(key, "\xF0\x9F\x98\x80x"));  // 3 UTF-16 units

  std::uint32_t type = 0;
  std::vector<std::uint8_t> data = {9, 9};
  ASSERT_EQ(store_.QueryValue(key, "\xC3\x89T\xC3\x89", &type, &data), 0);
  EXPECT_EQ(type, 0x4711u);
  EXPECT_EQ(data, bytes);
  ASSERT_EQ(store_.QueryValue(key, "", &type, &data), 0);
  EXPECT_EQ(type, regtype::None);
  EXPECT_THAT(data, IsEmpty());

  KeyInfo info;
  ASSERT_EQ(store_.QueryInfoKey(key, &info), 0);
  EXPECT_EQ(info.subKeyCount, 1u);
  EXPECT_EQ(info.maxSubKeyNameLength, 3u);
  EXPECT_EQ(info.valueCount, 2u);
  EXPECT_EQ(info.maxValueNameLength, 3u);
  EXPECT_EQ(info.maxValueDataSize, 5u);
}

// ---- Hive calls --------------------------------------------------------------

TEST_F(MemoryRegistryStore, SaveKeyWritesTheSubtreeAndRefusesAnExistingFile) {
  TempFolder folder;
  KeyHandle key = Create(kMachine, "SOFTWARE\\Vendor");
  Set(key, "", "A");
  const std::uint8_t dword[] = {1, 0, 0, 0};
  ASSERT_EQ(store_.SetValue(Create(key, "Sub\\Deeper"), "Say \"\\\"", regtype::Dword, dword, 4), 0);

  const std::string file = (folder.path() / "software.hiv").string();
  ASSERT_EQ(store_.SaveKey(Open(kMachine, "software"), file), 0);
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(),
            "Tidewell memory hive\n"
            "[]\n"
            "[Classes]\n"
            "[Vendor]\n"
            "@=hex(1):41,00,00,00\n"
            "[Vendor\\Sub]\n"
            "[Vendor\\Sub\\Deeper]\n"
            "\"Say \\\"\\\\\\\"\"=hex(4):01,00,00,00\n");
  EXPECT_EQ(store_.SaveKey(kMachine, file), regerr::AlreadyExists);
  EXPECT_NE(store_.SaveKey(kMachine, (folder.path() / "no" / "such" / "x").string()), 0);
}

TEST_F(MemoryRegistryStore, ReplaceAndFlushAreRecorded) {
  store_.CloseKey(Create(kMachine, "SOFTWARE"));
  store_.CloseKey(Create(kUsers, ".DEFAULT"));
  EXPECT_EQ(store_.ReplaceKey(kMachine, "software", "C:\\new", "C:\\old"), 0);
  EXPECT_EQ(store_.ReplaceKey(kMachine, "SAM", "C:\\n2", "C:\\o2"), regerr::FileNotFound);
  EXPECT_EQ(store_.ReplaceKey(kUsers, ".DEFAULT", "C:\\n3", "C:\\o3"), 0);
  EXPECT_EQ(store_.FlushKey(kMachine), 0);
  EXPECT_EQ(store_.FlushKey(kUsers), 0);

  const auto requests = store_.ReplaceRequests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].key, kMachine);
  EXPECT_EQ(requests[0].subKey, "software");
  EXPECT_EQ(requests[0].newFile, "C:\\new");
  EXPECT_EQ(requests[0].oldFile, "C:\\old");
  EXPECT_EQ(requests[1].result, regerr::FileNotFound);
  EXPECT_EQ(requests[2].key, kUsers);
  EXPECT_THAT(store_.FlushRequests(), ElementsAre(kMachine, kUsers));
}

// ---- Two threads -------------------------------------------------------------

TEST_F(MemoryRegistryStore, TwoThreadsMayUseTheStoreAtOnce) {
  KeyHandle shared = Create(kUser, "Shared");
  auto worker = [&](const std::string& prefix) {
    for (int i = 0; i < 300; ++i) {
      KeyHandle key = kNoKey;
      const std::string name = prefix + std::to_string(i);
      if (store_.CreateKey(shared, name, access::KeyAllAccess, &key) != 0) return;
      const std::vector<std::uint8_t> data = Sz(name);
      store_.SetValue(key, "v", regtype::String, data.data(), data.size());
      std::string listed;
      store_.EnumKey(shared, static_cast<std::uint32_t>(i), &listed);
      store_.CloseKey(key);
      if (i % 3 == 0) store_.DeleteKey(shared, name);
    }
  };
  std::thread scan(worker, "scan");
  std::thread ui(worker, "ui");
  scan.join();
  ui.join();
  KeyInfo info;
  ASSERT_EQ(store_.QueryInfoKey(shared, &info), 0);
  EXPECT_EQ(info.subKeyCount, 400u);
  EXPECT_EQ(Get(Open(shared, "ui299"), "v"), "ui299");
  EXPECT_EQ(store_.OpenHandleCount(), 2u);  // `shared` and the last Open
}

}  // namespace
}  // namespace tidewell::store_test
