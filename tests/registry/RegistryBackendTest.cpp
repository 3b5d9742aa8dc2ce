// Where the in-memory store (which follows Windows) and Wine 8 legitimately
// differ. Each backend states its own behaviour; the shared contract lives in
// RegistryContractTest.cpp.
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
using tidewell::testing::MakeTestRegistryStore;
using tidewell::testing::SandboxKey;

class RegistryBackend : public ::testing::Test {
 protected:
  void SetUp() override {
    store_ = MakeTestRegistryStore();
    sandbox_ = std::make_unique<SandboxKey>(
        *store_, TRootKey::CurrentUser,
        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    registry_ = std::make_unique<TRegistry>(*store_);
    registry_->SetRootKey(TRootKey::CurrentUser);
    ASSERT_TRUE(registry_->OpenKey("\\" + sandbox_->Path(), false));
  }
  void TearDown() override {
    registry_.reset();
    sandbox_.reset();
  }

  // Subkeys "AB" and "A_", values "b", "A_", "a" written in that order.
  void PlantOrderProbe(std::vector<std::string>& keys,
                       std::vector<std::string>& values) {
    for (const char* name : {"AB", "A_"}) {
      TRegistry child(*store_);
      child.SetRootKey(TRootKey::CurrentUser);
      ASSERT_TRUE(child.OpenKey("\\" + sandbox_->Path() + "\\" + name, true));
    }
    for (const char* name : {"b", "A_", "a"}) registry_->WriteString(name, "");
    registry_->GetKeyNames(keys);
    registry_->GetValueNames(values);
  }

  std::unique_ptr<RegistryStore> store_;
  std::unique_ptr<SandboxKey> sandbox_;
  std::unique_ptr<TRegistry> registry_;
};

#ifdef _WIN32

TEST_F(RegistryBackend, TalksToTheWineRegistry) {
  // Wine creates this key in every prefix; no test ever writes it.
  TRegistry machine(*store_);
  machine.SetRootKey(TRootKey::LocalMachine);
  ASSERT_TRUE(machine.OpenKeyReadOnly("Software\\Microsoft\\Windows NT\\CurrentVersion"));
  EXPECT_FALSE(machine.ReadString("SystemRoot").empty());
  EXPECT_TRUE(machine.KeyExists("\\Software\\Wine"));
}

TEST_F(RegistryBackend, WineListsKeysAndValuesByLowerCasedName) {
  std::vector<std::string> keys, values;
  PlantOrderProbe(keys, values);
  // '_' sorts before 'b' once lower-cased.
  EXPECT_THAT(keys, ElementsAre("A_", "AB"));
  EXPECT_THAT(values, ElementsAre("a", "A_", "b"));
}

TEST_F(RegistryBackend, WineClassesRootIsOnlyTheMachineClasses) {
  TRegistry user(*store_);
  user.SetRootKey(TRootKey::CurrentUser);
  ASSERT_TRUE(user.OpenKey("\\Software\\Classes\\TidewellUserOnlyClass", true));
  user.WriteString("", "user");
  TRegistry classes(*store_);
  classes.SetRootKey(TRootKey::ClassesRoot);
  EXPECT_FALSE(classes.KeyExists("TidewellUserOnlyClass"));
  EXPECT_TRUE(user.DeleteKey("\\Software\\Classes\\TidewellUserOnlyClass"));
}

TEST_F(RegistryBackend, WineAcceptsKeyNamesOfTwoHundredFiftySixCharacters) {
  EXPECT_TRUE(registry_->OpenKey(std::string(256, 'k'), true));
}

#else

TEST_F(RegistryBackend, MemoryStoreRefusesKeyNamesOverTwoHundredFiftyFive) {
  EXPECT_FALSE(registry_->OpenKey(std::string(256, 'k'), true));
  EXPECT_TRUE(registry_->OpenKey(std::string(255, 'k'), true));
}

TEST_F(RegistryBackend, MemoryStoreListsKeysByUpperCasedNameAndValuesInCreationOrder) {
  std::vector<std::string> keys, values;
  PlantOrderProbe(keys, values);
  // '_' sorts after 'B' in upper case.
  EXPECT_THAT(keys, ElementsAre("AB", "A_"));
  EXPECT_THAT(values, ElementsAre("b", "A_", "a"));
}

TEST_F(RegistryBackend, MemoryStoreMergesUserClassesIntoClassesRoot) {
  TRegistry user(*store_);
  user.SetRootKey(TRootKey::CurrentUser);
  ASSERT_TRUE(user.OpenKey("\\Software\\Classes\\.tidewell", true));
  user.WriteString("", "user");
  TRegistry machine(*store_);
  machine.SetRootKey(TRootKey::LocalMachine);
  ASSERT_TRUE(machine.OpenKey("\\Software\\Classes\\.tidewell", true));
  machine.WriteString("", "machine");
  ASSERT_TRUE(machine.OpenKey("\\Software\\Classes\\MachineOnly", true));

  TRegistry classes(*store_);
  classes.SetRootKey(TRootKey::ClassesRoot);
  ASSERT_TRUE(classes.OpenKeyReadOnly(".tidewell"));
  EXPECT_EQ(classes.ReadString(""), "user");
  EXPECT_TRUE(classes.KeyExists("\\MachineOnly"));
}

#endif

}  // namespace
}  // namespace tidewell
