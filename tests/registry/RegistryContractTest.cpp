// The registry object's contract, run unchanged over the in-memory store
// (natively) and over the real registry (under Wine). Where the two backends
// legitimately differ, the difference is a test of its own in
// RegistryBackendTest.cpp; anything else that fails on one backend only is a
// fault of the in-memory store.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "registry/Registry.h"
#include "tests/support/TestRegistry.h"

namespace tidewell {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;
using tidewell::testing::MakeTestRegistryStore;
using tidewell::testing::SandboxKey;

class RegistryContract : public ::testing::Test {
 protected:
  void SetUp() override {
    store_ = MakeTestRegistryStore();
    sandbox_ = std::make_unique<SandboxKey>(
        *store_, TRootKey::CurrentUser,
        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    base_ = "\\" + sandbox_->Path();
  }
  void TearDown() override { sandbox_.reset(); }

  // A registry object at HKEY_CURRENT_USER, nothing open.
  std::unique_ptr<TRegistry> NewRegistry() {
    auto registry = std::make_unique<TRegistry>(*store_);
    registry->SetRootKey(TRootKey::CurrentUser);
    return registry;
  }

  // Creates base_\path and leaves it open in a fresh object.
  std::unique_ptr<TRegistry> Create(const std::string& path) {
    auto registry = NewRegistry();
    EXPECT_TRUE(registry->OpenKey(base_ + (path.empty() ? "" : "\\" + path), true))
        << path;
    return registry;
  }

  template <typename F>
  static std::string FailureOf(F&& call) {
    try {
      call();
    } catch (const ERegistryException& e) {
      return e.what();
    }
    return "(no failure)";
  }

  std::unique_ptr<RegistryStore> store_;
  std::unique_ptr<SandboxKey> sandbox_;
  std::string base_;  // absolute path of the sandbox key, leading backslash
};

TEST_F(RegistryContract, NewObjectStartsAtCurrentUserWithFullAccess) {
  TRegistry registry(*store_);
  EXPECT_EQ(registry.RootKey(), TRootKey::CurrentUser);
  EXPECT_EQ(registry.CurrentKey(), kNoKey);
  EXPECT_EQ(registry.CurrentPath(), "");
  EXPECT_EQ(registry.Access(), 0xF003Fu);
  EXPECT_TRUE(registry.LazyWrite());
}

TEST_F(RegistryContract, AbsoluteAndRelativePathsBuildCurrentPath) {
  Create("A\\B");
  auto registry = NewRegistry();
  ASSERT_TRUE(registry->OpenKey(base_ + "\\A", false));
  EXPECT_EQ(registry->CurrentPath(), sandbox_->Path() + "\\A");

  ASSERT_TRUE(registry->OpenKey("B", false));
  EXPECT_EQ(registry->CurrentPath(), sandbox_->Path() + "\\A\\B");

  // An absolute path while a key is open starts again from the root.
  ASSERT_TRUE(registry->OpenKey(base_, false));
  EXPECT_EQ(registry->CurrentPath(), sandbox_->Path());

  // A relative path that names nothing below the open key fails and changes
  // nothing.
  EXPECT_FALSE(registry->OpenKey("Missing", false));
  EXPECT_EQ(registry->CurrentPath(), sandbox_->Path());
  EXPECT_NE(registry->CurrentKey(), kNoKey);
}

TEST_F(RegistryContract, TrailingBackslashNamesTheSameKey) {
  Create("A")->WriteString("Name", "here");
  auto registry = NewRegistry();
  ASSERT_TRUE(registry->OpenKey(base_ + "\\A\\", false));
  EXPECT_EQ(registry->ReadString("Name"), "here");
  EXPECT_TRUE(registry->KeyExists(base_ + "\\A\\"));
}

TEST_F(RegistryContract, EmptyPathAtTheRootOpensTheRootItself) {
  auto registry = NewRegistry();
  registry->SetRootKey(TRootKey::LocalMachine);
  ASSERT_TRUE(registry->OpenKeyReadOnly(""));
  EXPECT_EQ(registry->CurrentPath(), "");
  std::vector<std::string> names;
  registry->GetKeyNames(names);
  EXPECT_TRUE(std::any_of(names.begin(), names.end(), [](const std::string& n) {
    return n == "Software" || n == "SOFTWARE";
  }));
}

TEST_F(RegistryContract, OpenWithoutCreateNeedsAnExistingKey) {
  auto registry = NewRegistry();
  EXPECT_FALSE(registry->OpenKey(base_ + "\\X\\Y", false));
  EXPECT_FALSE(registry->KeyExists(base_ + "\\X"));
  ASSERT_TRUE(registry->OpenKey(base_ + "\\X\\Y", true));
  EXPECT_TRUE(registry->KeyExists(base_ + "\\X"));
  EXPECT_TRUE(registry->KeyExists(base_ + "\\X\\Y"));
}

TEST_F(RegistryContract, KeyNamesIgnoreLetterCaseAndKeepTheFirstSpelling) {
  Create("MixedCase");
  auto registry = NewRegistry();
  ASSERT_TRUE(registry->OpenKey(base_ + "\\MIXEDCASE", true));
  registry->WriteString("Value", "x");
  ASSERT_TRUE(registry->OpenKey(base_, false));
  std::vector<std::string> names;
  registry->GetKeyNames(names);
  EXPECT_THAT(names, ElementsAre("MixedCase"));
  ASSERT_TRUE(registry->OpenKey("mixedcase", false));
  EXPECT_EQ(registry->ReadString("VALUE"), "x");
}

TEST_F(RegistryContract, KeyExistsChangesNothing) {
  Create("A");
  auto registry = NewRegistry();
  ASSERT_TRUE(registry->OpenKey(base_, false));
  const KeyHandle before = registry->CurrentKey();
  EXPECT_TRUE(registry->KeyExists("A"));
  EXPECT_FALSE(registry->KeyExists("B"));
  EXPECT_EQ(registry->CurrentKey(), before);
  EXPECT_EQ(registry->CurrentPath(), sandbox_->Path());
  EXPECT_EQ(registry->Access(), access::KeyAllAccess);
}

TEST_F(RegistryContract, SettingTheSameRootKeepsTheKeyOpenAnotherClosesIt) {
  auto registry = Create("A");
  registry->SetRootKey(TRootKey::CurrentUser);
  EXPECT_NE(registry->CurrentKey(), kNoKey);
  registry->SetRootKey(TRootKey::LocalMachine);
  EXPECT_EQ(registry->CurrentKey(), kNoKey);
  EXPECT_EQ(registry->CurrentPath(), "");
}

TEST_F(RegistryContract, ReadOnlyOpenLowersAccessForLaterOpens) {
  Create("A");
  auto registry = NewRegistry();
  ASSERT_TRUE(registry->OpenKeyReadOnly(base_ + "\\A"));
  EXPECT_EQ(registry->Access(), access::KeyRead);

  // The next plain open uses KEY_READ too, so writing through it fails.
  ASSERT_TRUE(registry->OpenKey(base_ + "\\A", false));
  EXPECT_EQ(FailureOf([&] { registry->WriteString("Name", "x"); }),
            "Failed to set data for 'Name'");
  EXPECT_FALSE(registry->ValueExists("Name"));

  registry->SetAccess(access::KeyAllAccess);
  ASSERT_TRUE(registry->OpenKey(base_ + "\\A", false));
  registry->WriteString("Name", "x");
  EXPECT_EQ(registry->ReadString("Name"), "x");
}

TEST_F(RegistryContract, ReadOnlyOpenOfAMissingKeyFailsAndKeepsAccess) {
  auto registry = NewRegistry();
  EXPECT_FALSE(registry->OpenKeyReadOnly(base_ + "\\Missing"));
  EXPECT_EQ(registry->Access(), access::KeyAllAccess);
  EXPECT_EQ(registry->CurrentKey(), kNoKey);
}

TEST_F(RegistryContract, StringsRoundTripIncludingUnicode) {
  auto registry = Create("A");
  registry->WriteString("Plain", "C:\\Program Files\\App\\app.exe");
  registry->WriteString("", "default");
  registry->WriteString("Ключ ü", "Daten ß → 日本");
  registry->WriteExpandString("Expand", "%SystemRoot%\\x.dll");
  EXPECT_EQ(registry->ReadString("Plain"), "C:\\Program Files\\App\\app.exe");
  EXPECT_EQ(registry->ReadString(""), "default");
  EXPECT_EQ(registry->ReadString("ключ Ü"), "Daten ß → 日本");
  EXPECT_EQ(registry->ReadString("Expand"), "%SystemRoot%\\x.dll");
  EXPECT_EQ(registry->GetDataType("Expand"), TRegDataType::rdExpandString);
  // UTF-16 with one terminating zero character.
  EXPECT_EQ(registry->GetDataSize("Plain"), 2 * (28 + 1));
}

TEST_F(RegistryContract, ReadStringOfMissingOrEmptyValueIsEmptyText) {
  auto registry = Create("A");
  EXPECT_EQ(registry->ReadString("Missing"), "");
  registry->WriteBinaryData("Empty", nullptr, 0);
  EXPECT_EQ(registry->ReadString("Empty"), "");
  // Told apart when asked whether the value is there at all.
  EXPECT_EQ(registry->ReadStringIfPresent("Missing"), std::nullopt);
  EXPECT_EQ(registry->ReadStringIfPresent("Empty"), "");
  registry->WriteString("Text", "t");
  EXPECT_EQ(registry->ReadStringIfPresent("Text"), "t");
}

TEST_F(RegistryContract, ReadStringStopsAtTheFirstZeroCharacter) {
  auto registry = Create("A");
  const std::vector<std::uint8_t> data = {'a', 0, 0, 0, 'b', 0, 0, 0};
  registry->WriteRawValue("Two", regtype::String, data);
  EXPECT_EQ(registry->ReadString("Two"), "a");
  // The same past a character outside ASCII, and with an odd last byte.
  const std::vector<std::uint8_t> wide = {'a', 0, 0xDF, 0, 0, 0, 'b', 0, 'c'};
  registry->WriteRawValue("Wide", regtype::String, wide);
  EXPECT_EQ(registry->ReadString("Wide"), "a\xC3\x9F");
}

TEST_F(RegistryContract, StringDataWithoutAFinalZeroIsStoredAsGiven) {
  // Undo restores such values byte for byte; the system API, left alone,
  // counts a zero that happens to follow the data in memory.
  auto registry = Create("A");
  for (std::uint32_t type : {regtype::String, regtype::ExpandString, regtype::MultiString}) {
    const std::vector<std::uint8_t> data = {'a', 0, 'b', 0};
    const std::vector<std::uint8_t> followed = {'a', 0, 'b', 0, 0, 0};
    registry->WriteRawValue("NoZero", type, data);
    std::uint32_t readType = 0;
    std::vector<std::uint8_t> read;
    ASSERT_EQ(store_->QueryValue(registry->CurrentKey(), "NoZero", &readType, &read), 0);
    EXPECT_EQ(read, data) << type;
    ASSERT_EQ(store_->SetValue(registry->CurrentKey(), "NoZero", type, followed.data(), 4), 0);
    ASSERT_EQ(store_->QueryValue(registry->CurrentKey(), "NoZero", &readType, &read), 0);
    EXPECT_EQ(read, data) << "a zero after the given bytes is not theirs, type " << type;
  }
}

TEST_F(RegistryContract, ReadStringOfOtherTypesFails) {
  auto registry = Create("A");
  registry->WriteInteger("Number", 5);
  const std::uint8_t bytes[] = {1, 2, 3};
  registry->WriteBinaryData("Bytes", bytes, 3);
  EXPECT_EQ(FailureOf([&] { registry->ReadString("Number"); }),
            "Invalid data type for 'Number'");
  EXPECT_EQ(FailureOf([&] { registry->ReadString("Bytes"); }),
            "Invalid data type for 'Bytes'");
  EXPECT_EQ(FailureOf([&] { registry->ReadStringIfPresent("Number"); }),
            "Invalid data type for 'Number'");
}

TEST_F(RegistryContract, IntegersRoundTripAndFailAsSpecified) {
  auto registry = Create("A");
  registry->WriteInteger("Zero", 0);
  registry->WriteInteger("Max", -1);
  registry->WriteInteger("Big", 0x7FFFFFFF);
  EXPECT_EQ(registry->ReadInteger("Zero"), 0);
  EXPECT_EQ(registry->ReadInteger("Max"), -1);
  EXPECT_EQ(registry->ReadInteger("Big"), 0x7FFFFFFF);
  EXPECT_FALSE(registry->ReadBool("Zero"));
  EXPECT_TRUE(registry->ReadBool("Max"));
  EXPECT_EQ(registry->GetDataType("Zero"), TRegDataType::rdInteger);
  EXPECT_EQ(registry->GetDataSize("Zero"), 4);

  EXPECT_EQ(FailureOf([&] { registry->ReadInteger("Missing"); }),
            "Failed to get data for 'Missing'");
  EXPECT_EQ(FailureOf([&] { registry->ReadBool("Missing"); }),
            "Failed to get data for 'Missing'");
  // A value that fits in four bytes but is not a DWORD has the wrong type;
  // one that does not fit cannot be read at all.
  registry->WriteString("Short", "a");  // 'a', 0 in UTF-16: four bytes
  registry->WriteString("Long", "abc");
  EXPECT_EQ(FailureOf([&] { registry->ReadInteger("Short"); }),
            "Invalid data type for 'Short'");
  EXPECT_EQ(FailureOf([&] { registry->ReadInteger("Long"); }),
            "Failed to get data for 'Long'");
}

TEST_F(RegistryContract, BinaryDataReadsRawBytesOfUnknownTypes) {
  auto registry = Create("A");
  const std::vector<std::uint8_t> multi = {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0};
  registry->WriteRawValue("Multi", regtype::MultiString, multi);
  std::uint8_t buffer[64] = {};
  ASSERT_EQ(registry->ReadBinaryData("Multi", buffer, sizeof buffer), 10);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + 10), multi);
  EXPECT_EQ(registry->GetDataType("Multi"), TRegDataType::rdUnknown);

  const std::uint8_t bytes[] = {0xDE, 0xAD, 0xBE, 0xEF};
  registry->WriteBinaryData("Bin", bytes, 4);
  EXPECT_EQ(registry->GetDataType("Bin"), TRegDataType::rdBinary);
  ASSERT_EQ(registry->ReadBinaryData("Bin", buffer, 4), 4);
  EXPECT_EQ(0, std::memcmp(buffer, bytes, 4));

  registry->WriteBinaryData("Empty", bytes, 0);
  EXPECT_EQ(registry->GetDataSize("Empty"), 0);
  EXPECT_EQ(registry->ReadBinaryData("Empty", buffer, 0), 0);
}

TEST_F(RegistryContract, BinaryDataFailuresAndMissingValue) {
  auto registry = Create("A");
  std::uint8_t buffer[4] = {};
  EXPECT_EQ(registry->ReadBinaryData("Missing", buffer, 4), 0);
  const std::uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  registry->WriteBinaryData("Eight", bytes, 8);
  EXPECT_EQ(FailureOf([&] { registry->ReadBinaryData("Eight", buffer, 4); }),
            "Invalid data type for 'Eight'");
  registry->WriteString("Text", "x");
  EXPECT_EQ(FailureOf([&] { registry->ReadBinaryData("Text", buffer, 4); }),
            "Invalid data type for 'Text'");
  EXPECT_EQ(buffer[0], 0) << "a failed read must not touch the buffer";
}

TEST_F(RegistryContract, DataInfoOfEveryClassAndOfAMissingValue) {
  auto registry = Create("A");
  registry->WriteString("S", "abc");
  registry->WriteRawValue("Q", regtype::Qword, std::vector<std::uint8_t>(8, 1));
  TRegDataInfo info;
  ASSERT_TRUE(registry->GetDataInfo("S", info));
  EXPECT_EQ(info.RegData, TRegDataType::rdString);
  EXPECT_EQ(info.DataSize, 8);
  ASSERT_TRUE(registry->GetDataInfo("Q", info));
  EXPECT_EQ(info.RegData, TRegDataType::rdUnknown);
  EXPECT_EQ(info.DataSize, 8);
  EXPECT_FALSE(registry->GetDataInfo("Missing", info));
  EXPECT_EQ(registry->GetDataType("Missing"), TRegDataType::rdUnknown);
  EXPECT_EQ(registry->GetDataSize("Missing"), -1);
  EXPECT_FALSE(registry->ValueExists("Missing"));
  EXPECT_TRUE(registry->ValueExists("s"));
}

TEST_F(RegistryContract, DefaultValueIsTheEmptyName) {
  auto registry = Create("A");
  EXPECT_FALSE(registry->ValueExists(""));
  registry->WriteString("", "default");
  registry->WriteString("Other", "x");
  EXPECT_TRUE(registry->ValueExists(""));
  std::vector<std::string> names;
  registry->GetValueNames(names);
  EXPECT_THAT(names, UnorderedElementsAre("", "Other"));
}

TEST_F(RegistryContract, WritesWithoutAnOpenKeyFail) {
  TRegistry registry(*store_);
  EXPECT_EQ(FailureOf([&] { registry.WriteString("N", "x"); }),
            "Failed to set data for 'N'");
  EXPECT_EQ(FailureOf([&] { registry.WriteInteger("N", 1); }),
            "Failed to set data for 'N'");
  EXPECT_EQ(FailureOf([&] { registry.WriteBinaryData("N", "x", 1); }),
            "Failed to set data for 'N'");
  EXPECT_FALSE(registry.DeleteValue("N"));
  EXPECT_FALSE(registry.HasSubKeys());
  std::vector<std::string> names = {"stale"};
  EXPECT_FALSE(registry.GetKeyNames(names));
  EXPECT_THAT(names, IsEmpty());
}

TEST_F(RegistryContract, EnumerationListsEveryNameOnce) {
  auto registry = Create("A");
  ASSERT_TRUE(registry->OpenKey("Zeta", true));
  ASSERT_TRUE(registry->OpenKey(base_ + "\\A\\alpha", true));
  ASSERT_TRUE(registry->OpenKey(base_ + "\\A\\Mid", true));
  ASSERT_TRUE(registry->OpenKey(base_ + "\\A", false));
  EXPECT_TRUE(registry->HasSubKeys());
  registry->WriteString("v2", "");
  registry->WriteString("V1", "");
  std::vector<std::string> keys, values;
  EXPECT_TRUE(registry->GetKeyNames(keys));
  registry->GetValueNames(values);
  EXPECT_THAT(keys, UnorderedElementsAre("Zeta", "alpha", "Mid"));
  EXPECT_THAT(values, UnorderedElementsAre("v2", "V1"));

  // Listings of the length the key gives list the same; shorter ones stop.
  std::uint32_t keyCount = 0, valueCount = 0;
  ASSERT_TRUE(registry->GetKeyCounts(keyCount, valueCount));
  EXPECT_EQ(keyCount, 3u);
  EXPECT_EQ(valueCount, 2u);
  std::vector<std::string> counted;
  registry->GetKeyNames(counted, keyCount);
  EXPECT_EQ(counted, keys);
  registry->GetKeyNames(counted, 1);
  EXPECT_THAT(counted, ElementsAre(keys[0]));
  std::vector<TRegValue> all, first;
  registry->GetValues(all);
  registry->GetValues(first, 1);
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].Name, all[0].Name);

  ASSERT_TRUE(registry->OpenKey("Zeta", false));
  EXPECT_FALSE(registry->HasSubKeys());
  ASSERT_TRUE(registry->GetKeyCounts(keyCount, valueCount));
  EXPECT_EQ(keyCount + valueCount, 0u);
  registry->CloseKey();
  EXPECT_FALSE(registry->GetKeyCounts(keyCount, valueCount));
}

// Reading every value with its listing gives what listing the names and
// reading each value gives: the same names in the same order, the same types
// and bytes, also for names and data larger than a first guess at their size.
TEST_F(RegistryContract, ValuesReadWithTheirListingMatchNamesAndReads) {
  auto registry = Create("A");
  registry->WriteString("", "default");
  registry->WriteString("Text", "C:\\Program Files\\App\\app.exe");
  registry->WriteExpandString("Expand", "%SystemRoot%\\x.dll");
  registry->WriteInteger("Number", -7);
  registry->WriteRawValue("NoZero", regtype::String, {'a', 0, 'b', 0});
  registry->WriteRawValue("Empty", regtype::String, {});
  std::vector<std::uint8_t> large(70000);
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<std::uint8_t>(i * 7);
  registry->WriteBinaryData("Large", large.data(), static_cast<int>(large.size()));
  const std::string longName(300, 'n');
  registry->WriteString(longName, std::string(5000, 'x'));

  std::vector<std::string> names;
  registry->GetValueNames(names);
  std::vector<TRegValue> values;
  registry->GetValues(values);
  ASSERT_EQ(values.size(), 8u);
  ASSERT_EQ(values.size(), names.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(values[i].Name, names[i]);
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    ASSERT_TRUE(registry->ReadRawValue(names[i], type, data)) << names[i];
    EXPECT_EQ(values[i].Type, type) << names[i];
    EXPECT_EQ(values[i].Data, data) << names[i];
    EXPECT_EQ(values[i].DataType(), registry->GetDataType(names[i])) << names[i];
    if (type == regtype::String || type == regtype::ExpandString) {
      EXPECT_EQ(values[i].Text(), registry->ReadString(names[i])) << names[i];
    }
  }
  EXPECT_EQ(std::count_if(values.begin(), values.end(),
                          [&](const TRegValue& v) { return v.Data == large; }),
            1);

  registry->CloseKey();
  registry->GetValues(values);
  EXPECT_THAT(values, IsEmpty());
}

TEST_F(RegistryContract, DeleteValue) {
  auto registry = Create("A");
  registry->WriteString("Gone", "x");
  EXPECT_TRUE(registry->DeleteValue("GONE"));
  EXPECT_FALSE(registry->ValueExists("Gone"));
  EXPECT_FALSE(registry->DeleteValue("Gone"));
}

TEST_F(RegistryContract, DeleteKeyRemovesAWholeTreeAndKeepsTheOpenKey) {
  Create("Tree\\A\\A1\\Deep")->WriteString("v", "1");
  Create("Tree\\A\\A2");
  Create("Tree\\B")->WriteInteger("n", 1);
  auto registry = Create("Other");
  const std::string before = registry->CurrentPath();
  EXPECT_TRUE(registry->DeleteKey(base_ + "\\Tree"));
  EXPECT_FALSE(registry->KeyExists(base_ + "\\Tree"));
  EXPECT_EQ(registry->CurrentPath(), before);
  registry->WriteString("still", "open");
  EXPECT_EQ(registry->ReadString("still"), "open");
}

TEST_F(RegistryContract, KeysAmongHundredsOfSiblingsComeAndGo) {
  auto registry = Create("Many");
  for (int i = 0; i < 200; ++i) {
    ASSERT_TRUE(registry->OpenKey(base_ + "\\Many\\k" + std::to_string(i), true));
  }
  EXPECT_TRUE(registry->DeleteKey(base_ + "\\Many\\K150"));
  EXPECT_FALSE(registry->KeyExists(base_ + "\\Many\\k150"));
  EXPECT_TRUE(registry->KeyExists(base_ + "\\Many\\K151"));
  ASSERT_TRUE(registry->OpenKey(base_ + "\\Many\\k150\\Again", true));
  EXPECT_TRUE(registry->KeyExists(base_ + "\\MANY\\K150\\again"));
}

TEST_F(RegistryContract, DeleteKeyRelativeToTheOpenKey) {
  Create("Parent\\Child\\Grandchild");
  auto registry = NewRegistry();
  ASSERT_TRUE(registry->OpenKey(base_ + "\\Parent", false));
  EXPECT_TRUE(registry->DeleteKey("Child\\"));
  EXPECT_FALSE(registry->KeyExists("Child"));
  EXPECT_TRUE(registry->KeyExists(base_ + "\\Parent"));
}

TEST_F(RegistryContract, DeleteKeyOfAMissingKeyIsFalse) {
  auto registry = NewRegistry();
  EXPECT_FALSE(registry->DeleteKey(base_ + "\\Missing"));
}

TEST_F(RegistryContract, RegWriteStringValueSplitsAtTheLastBackslash) {
  const std::string path = sandbox_->Path();
  EXPECT_TRUE(RegWriteStringValue(*store_, TRootKey::CurrentUser,
                                  path + "\\New\\Key\\Path", "C:\\PROG~1\\t.exe"));
  EXPECT_TRUE(RegWriteStringValue(*store_, TRootKey::CurrentUser,
                                  path + "\\New\\Key\\", "default"));
  auto registry = NewRegistry();
  ASSERT_TRUE(registry->OpenKey(base_ + "\\New\\Key", false));
  EXPECT_EQ(registry->ReadString("Path"), "C:\\PROG~1\\t.exe");
  EXPECT_EQ(registry->ReadString(""), "default");
  EXPECT_EQ(registry->GetDataType("Path"), TRegDataType::rdString);

  EXPECT_FALSE(RegWriteStringValue(*store_, TRootKey::CurrentUser,
                                   "NoBackslashAtAll", "x"));
  registry->SetRootKey(TRootKey::LocalMachine);
  registry->SetRootKey(TRootKey::CurrentUser);
  ASSERT_TRUE(registry->OpenKeyReadOnly(""));
  EXPECT_FALSE(registry->ValueExists("NoBackslashAtAll"));
}

TEST_F(RegistryContract, OverlongNamesAreRefused) {
  auto registry = NewRegistry();
  // Windows documents 255 characters; Wine refuses from 257 on (the 256th is
  // a difference of its own, see RegistryBackendTest.cpp).
  const std::string longName(257, 'k');
  EXPECT_FALSE(registry->OpenKey(base_ + "\\" + longName, true));
  EXPECT_FALSE(registry->KeyExists(base_ + "\\" + longName));
  const std::string longest(255, 'k');
  EXPECT_TRUE(registry->OpenKey(base_ + "\\" + longest, true));

  auto values = Create("V");
  const std::string longValue(16384, 'v');
  EXPECT_EQ(FailureOf([&] { values->WriteString(longValue, "x"); }),
            "Failed to set data for '" + longValue + "'");
}

TEST_F(RegistryContract, FlushOfTheMachineAndUserHivesSucceeds) {
  EXPECT_EQ(RegFlushKey(*store_, TRootKey::LocalMachine), regerr::Success);
  EXPECT_EQ(RegFlushKey(*store_, TRootKey::Users), regerr::Success);
}

TEST_F(RegistryContract, SaveKeyRefusesAnExistingFile) {
  Create("Saved")->WriteString("v", "x");
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() /
      ("tidewell-savekey-" + std::string(tidewell::testing::RegistryBackendName()));
  std::filesystem::remove(file);
  auto registry = NewRegistry();
  EXPECT_TRUE(registry->SaveKey(base_ + "\\Saved", file.string()));
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_FALSE(registry->SaveKey(base_ + "\\Saved", file.string()));
  EXPECT_FALSE(registry->SaveKey(base_ + "\\Missing", file.string() + "2"));
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace tidewell
