// A bed for the compaction tests: a real test folder with "Windows" and
// "Temp" in it, a registry store that records the hive operations and writes
// saved hives of chosen sizes, and system facts the test sets.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/NativeSystemEnvironment.h"
#include "platform/SystemInfo.h"
#include "registry/MemoryRegistryStore.h"
#include "registry/Registry.h"
#include "registry/RegistryTypes.h"
#include "tests/platform/TestDrive.h"
#include "tools/RegistryDefrag.h"

#ifdef _WIN32
#include "platform/win/WinFileMaintenance.h"
#else
#include "platform/NativeFileMaintenance.h"
#endif

namespace tidewell::testing {

class RecordingHiveStore : public MemoryRegistryStore {
 public:
  explicit RecordingHiveStore(TFileSystem& files) : files_(files) {}

  long FlushKey(KeyHandle key) override {
    journal.push_back("flush " + RootKeyName(static_cast<TRootKey>(key)));
    return MemoryRegistryStore::FlushKey(key);
  }
  // Saves a hive of the size chosen for its file name; refuses any other.
  long SaveKey(KeyHandle, const std::string& fileName) override {
    const std::string name = fileName.substr(fileName.rfind('\\') + 1);
    journal.push_back("save " + name);
    const auto size = saveSizes.find(name);
    if (size == saveSizes.end()) return regerr::AccessDenied;
    auto file = files_.CreateNewFile(fileName, false);
    if (!file) return regerr::AlreadyExists;
    file->Write(std::string(size->second, 'h'));
    return regerr::Success;
  }
  long ReplaceKey(KeyHandle key, const std::string& subKey, const std::string& newFile,
                  const std::string& oldFile) override {
    journal.push_back("replace " + RootKeyName(static_cast<TRootKey>(key)) + " " + subKey +
                      " " + newFile + " " + oldFile);
    return subKey == failReplace ? regerr::AccessDenied : regerr::Success;
  }

  std::vector<std::string> journal;
  std::map<std::string, std::size_t> saveSizes;
  std::string failReplace;

 private:
  TFileSystem& files_;
};

class FixedSystemInfo : public TSystemInfo {
 public:
  TSystemVersion Version() override { return version; }
  std::int64_t BootTime() override { return bootTime; }
  std::string DecimalSeparator() override { return separator; }

  TSystemVersion version{TPlatformId::WindowsNt, 6, 1, 7601, "Service Pack 1"};
  std::int64_t bootTime = 1700000000;
  std::string separator = ".";
};

struct DefragBed {
  DefragBed()
      : store(drive.FileSystem()),
#ifdef _WIN32
        maintenance(std::make_unique<WinFileMaintenance>()),
#else
        maintenance(std::make_unique<NativeFileMaintenance>(
            dynamic_cast<NativeFileSystem&>(drive.FileSystem()))),
#endif
        environment(TSpecialFolders{drive.Path("Windows"), drive.Path("Windows\\System32"), "",
                                    "", "", drive.Path("Temp"), ""}) {
    drive.MakeFolder("Windows\\System32\\Config");
    // The keys the hives are saved from, as a Windows registry has them.
    TRegistry registry(store);
    registry.SetRootKey(TRootKey::LocalMachine);
    for (const char* key : {"SOFTWARE", "SYSTEM", "SAM"}) {
      registry.OpenKey(key, true);
      registry.CloseKey();
    }
    registry.SetRootKey(TRootKey::Users);
    registry.OpenKey(".DEFAULT", true);
  }
  ~DefragBed() {
    // Read-only leftovers would keep the test folder from going.
    TFileTools tools{drive.FileSystem(), *maintenance};
    DelTreeEx(tools, drive.Path("Temp"), false);
    DelTreeEx(tools, drive.Path("Windows"), false);
  }

  TDefragSystem System() {
    return {store, drive.FileSystem(), *maintenance, environment, info};
  }
  void MakeReadOnly(const std::string& relative) {
    maintenance->SetAttributes(drive.Path(relative), fileattr::ReadOnly);
  }

  TestDrive drive;
  RecordingHiveStore store;
  std::unique_ptr<TFileMaintenance> maintenance;
  NativeSystemEnvironment environment;
  FixedSystemInfo info;
};

}  // namespace tidewell::testing
