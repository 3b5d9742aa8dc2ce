// The run-once cleanup and the program's registry note, over the registry of
// the test backend (in-memory natively, the prefix's registry under Wine).
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "app/RegistryNote.h"
#include "app/RunOnce.h"
#include "registry/Registry.h"
#include "tests/support/TestRegistry.h"

namespace tidewell {
namespace {

class AppRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { store_ = tidewell::testing::MakeTestRegistryStore(); }
  void TearDown() override {
    TRegistry registry(*store_);
    registry.SetRootKey(TRootKey::LocalMachine);
    if (registry.OpenKey(kRunOnceKey, false)) {
      registry.DeleteValue("tidewell.exe");
      registry.DeleteValue("other.exe");
    }
    registry.SetRootKey(TRootKey::CurrentUser);
    registry.DeleteKey("Software\\Palvorin\\TDW");
    registry.DeleteKey("Software\\Palvorin");
  }

  void PlantRunOnce(const std::string& name) {
    TRegistry registry(*store_);
    registry.SetRootKey(TRootKey::LocalMachine);
    ASSERT_TRUE(registry.OpenKey(kRunOnceKey, true));
    registry.WriteString(name, "C:\\tdw\\" + name);
  }
  bool RunOnceHas(const std::string& name) {
    TRegistry registry(*store_);
    registry.SetRootKey(TRootKey::LocalMachine);
    return registry.OpenKeyReadOnly(kRunOnceKey) && registry.ValueExists(name);
  }
  std::string Note() {
    TRegistry registry(*store_);
    if (!registry.OpenKeyReadOnly(kRegistryNoteKey)) return "<no key>";
    return registry.ReadString(kRegistryNoteValue);
  }

  std::unique_ptr<RegistryStore> store_;
};

TEST_F(AppRegistryTest, RunOnceValueNamedAfterTheProgramFileIsRemoved) {
  PlantRunOnce("tidewell.exe");
  PlantRunOnce("other.exe");
  EXPECT_TRUE(RunOnceCleanup(*store_, "C:\\Program Files\\tdw\\tidewell.exe"));
  EXPECT_FALSE(RunOnceHas("tidewell.exe"));
  EXPECT_TRUE(RunOnceHas("other.exe"));
}

TEST_F(AppRegistryTest, RunOnceMatchesTheNameWithoutRegardToCase) {
  PlantRunOnce("tidewell.exe");
  EXPECT_TRUE(RunOnceCleanup(*store_, "C:\\TDW\\TIDEWELL.EXE"));
  EXPECT_FALSE(RunOnceHas("tidewell.exe"));
}

TEST_F(AppRegistryTest, NothingToCleanIsNoFailure) {
  EXPECT_FALSE(RunOnceCleanup(*store_, "C:\\tdw\\tidewell.exe"));
}

TEST_F(AppRegistryTest, NoteIsWrittenAtCreationAndAgainAtClose) {
  EXPECT_TRUE(WriteRegistryNote(*store_, "C:\\PROGRA~1\\tdw\\TIDEWELL.EXE"));
  EXPECT_EQ(Note(), "C:\\PROGRA~1\\tdw\\TIDEWELL.EXE");

  TRegistry registry(*store_);
  registry.DeleteKey(kRegistryNoteKey);
  ASSERT_EQ(Note(), "<no key>");
  EXPECT_TRUE(
      WriteRegistryNoteOnClose(*store_, "C:\\PROGRA~1\\tdw\\TIDEWELL.EXE"));
  EXPECT_EQ(Note(), "C:\\PROGRA~1\\tdw\\TIDEWELL.EXE");
}

TEST_F(AppRegistryTest, NoteReplacesAnOlderPath) {
  WriteRegistryNote(*store_, "C:\\OLD\\TIDEWELL.EXE");
  WriteRegistryNoteOnClose(*store_, "C:\\NEW\\TIDEWELL.EXE");
  EXPECT_EQ(Note(), "C:\\NEW\\TIDEWELL.EXE");
}

}  // namespace
}  // namespace tidewell
