// What the software check tests share: a test drive with a Windows folder
// tree, the folder set pointing into it, the registry the suite runs against
// (natively the in-memory store, under Wine the prefix's registry), and an
// engine that the checks are called on directly from the test thread.
//
// The checks read fixed locations that hold the system's own entries under
// Wine, so the tests plant entries under names of their own ("Tidewell...",
// or paths inside the test drive), remove them afterwards, and look only at
// the records those entries produce.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "registry/Registry.h"
#include "scan/FileReferences.h"
#include "scan/QueueDispatcher.h"
#include "scan/RegistryWork.h"
#include "tests/platform/TestDrive.h"
#include "tests/scan/TestFolderSet.h"
#include "tests/support/RegistryFixture.h"
#include "tests/support/TestRegistry.h"
#include "undo/RegEditNotation.h"

namespace tidewell::testing {

using Log = std::vector<std::string>;

class SoftwareCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folders = FolderSetOn(drive);
    drive.MakeFile("Windows\\System32\\kernel32.dll");
    drive.MakeFile("Windows\\System32\\msiexec.exe");
    drive.MakeFile("Windows\\Fonts\\tidewellsans.ttf");
    drive.MakeFile("Windows\\Media\\tidewell-ding.wav");
    drive.MakeFile("Program Files\\App\\app.exe");
    drive.MakeFile("Program Files\\App\\lib.dll");
    refs = std::make_unique<TFileReferences>(folders, drive.FileSystem(),
                                             environment.Environment(), *store);
    engine = std::make_unique<TRegistryCheckThread>(*store, dispatcher,
                                                    nullptr);
  }

  void TearDown() override {
    for (auto undo = undos.rbegin(); undo != undos.rend(); ++undo) {
      try {
        LoadRegistryFixture(*store, *undo);
      } catch (...) {
        // Already gone.
      }
    }
  }

  // Plants `text` now and loads `undo` when the test ends.
  void Plant(const std::string& text, const std::string& undo) {
    undos.push_back(undo);
    LoadRegistryFixture(*store, text);
  }

  // Values of the key `fullKey` ("HKEY_...\\path"), one fixture line each;
  // the values are removed again, the key is left.
  void PlantValues(const std::string& fullKey, const std::vector<std::string>& lines) {
    std::string text = "[" + fullKey + "]\n";
    std::string undo = text;
    for (const std::string& line : lines) {
      text += line + "\n";
      undo += line.substr(0, line.find('=')) + "=-\n";
    }
    Plant(text, undo);
  }

  // A text as the fixture format quotes it.
  static std::string Q(const std::string& text) {
    return "\"" + EscapeRegEditText(text) + "\"";
  }

  std::string App() const { return drive.Path("Program Files\\App\\app.exe"); }
  std::string Lib() const { return drive.Path("Program Files\\App\\lib.dll"); }
  std::string Missing(const std::string& name) const {
    return drive.Path("Program Files\\App\\" + name);
  }

  // Every event of the engine, in order.
  void RecordEvents() {
    engine->OnShowStatus = [this](TRegistryCheckThread& e) {
      events.push_back("Status " + e.StatusText);
    };
    engine->OnShowProgress = [this](TRegistryCheckThread& e) {
      events.push_back("Progress " + std::to_string(e.ProgressMax) + " " +
                       std::to_string(e.ProgressPosition));
    };
    engine->OnAddError = [this](TRegistryCheckThread& e) {
      events.push_back("AddError " + e.LastError()->ValueName);
    };
  }

  // The records the test's own entries produced, as
  // "root\key | value | data | description", in the order found.
  Log Records() const {
    Log found;
    for (const auto& record : engine->Errors) {
      const TRegistryError& r = *record;
      const bool ours = Has(r.KeyPath, "Tidewell") ||
                        Has(r.ValueName, "Tidewell") ||
                        Has(r.ValueName, drive.Root()) ||
                        Has(r.ValueData, drive.Root());
      if (!ours) continue;
      EXPECT_EQ(r.Replacement, "");
      found.push_back(TRegistryCheckThread::RegistryErrorKeyText(r) + " | " +
                      r.ValueName + " | " + r.ValueData + " | " +
                      r.Description);
    }
    return found;
  }

  static bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
  }

  TestDrive drive;
  TestEnvironment environment;
  std::unique_ptr<RegistryStore> store = MakeTestRegistryStore();
  TFolderSet folders;
  std::unique_ptr<TFileReferences> refs;
  TQueueDispatcher dispatcher;
  std::unique_ptr<TRegistryCheckThread> engine;
  Log events;
  std::vector<std::string> undos;
};

}  // namespace tidewell::testing
