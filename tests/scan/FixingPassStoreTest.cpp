// The fixing pass over the registry the suite runs against: natively the
// in-memory store, under Wine the prefix's real registry, so that the counts
// a user is shown are those of real deletions.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "registry/Registry.h"
#include "scan/QueueDispatcher.h"
#include "scan/RegistryWork.h"
#include "tests/support/RegistryFixture.h"
#include "tests/support/TestRegistry.h"

namespace tidewell {
namespace {

constexpr const char* kBase = "Software\\TidewellFixingPass";

class FixingPassStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadRegistryFixture(*store_, R"(
      [-HKEY_CURRENT_USER\Software\TidewellFixingPass]
      [HKEY_CURRENT_USER\Software\TidewellFixingPass\Run]
      "Gone"="missing.exe"
      "Kept"="kept.exe"
      [HKEY_CURRENT_USER\Software\TidewellFixingPass\Orphan]
      "A"="1"
      "B"=dword:00000002
      [HKEY_CURRENT_USER\Software\TidewellFixingPass\Orphan\Child]
      "C"=hex:01
      "D"=multi:"x","y"
      [HKEY_CURRENT_USER\Software\TidewellFixingPass\Orphan\Child\Leaf]
      [HKEY_CURRENT_USER\Software\TidewellFixingPass\Orphan\Sibling]
    )");
  }
  void TearDown() override {
    LoadRegistryFixture(*store_, "[-HKEY_CURRENT_USER\\Software\\TidewellFixingPass]");
  }

  void Select(const std::string& keyPath, const std::string& valueName) {
    engine_.AddRegistryError(TRootKey::CurrentUser, keyPath, valueName, "",
                             "File not found");
    engine_.LastError()->Selected = true;
  }
  bool KeyExists(const std::string& path) {
    TRegistry registry(*store_);
    return registry.KeyExists(path);
  }

  std::unique_ptr<RegistryStore> store_ = testing::MakeTestRegistryStore();
  TQueueDispatcher dispatcher_;
  TRegistryCheckThread engine_{*store_, dispatcher_, nullptr};
};

TEST_F(FixingPassStoreTest, CountsWhatWasReallyDeleted) {
  const std::string base = kBase;
  Select(base + "\\Run", "Gone");
  Select(base + "\\Orphan", "");
  Select(base + "\\Missing", "");
  Select(base + "\\Run", "Gone");

  engine_.FixErrors();

  // The value, and the tree of four values and four keys.
  EXPECT_EQ(engine_.FixedCount, 2);
  EXPECT_EQ(engine_.DeletedCount, 8);
  EXPECT_EQ(engine_.StatusText,
            "2 registry error(s) checked (8 registry keys and values)");
  EXPECT_FALSE(KeyExists(base + "\\Orphan"));
  TRegistry registry(*store_);
  ASSERT_TRUE(registry.OpenKey(base + "\\Run", false));
  EXPECT_FALSE(registry.ValueExists("Gone"));
  EXPECT_TRUE(registry.ValueExists("Kept"));
}

TEST_F(FixingPassStoreTest, DeleteKeyTreeOfAKnownSize) {
  engine_.DeleteKeyTree(TRootKey::CurrentUser, std::string(kBase) + "\\Orphan\\Child");
  EXPECT_EQ(engine_.DeletedCount, 4);  // two values, Child and Leaf
  EXPECT_FALSE(KeyExists(std::string(kBase) + "\\Orphan\\Child"));
  EXPECT_TRUE(KeyExists(std::string(kBase) + "\\Orphan\\Sibling"));
}

}  // namespace
}  // namespace tidewell
