// A synthetic machine for scan benchmarks: a registry of some 200,000 keys
// and a million values, as installed software leaves them, and the few
// thousand files on drive C: it names. Nine file references in ten name a
// file that exists; the rest name files (and folders) that are gone.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "registry/RegistryStore.h"
#include "tests/platform/TestDrive.h"

namespace tidewell {

// The Windows folders of the synthetic machine, on drive C: as on a real one
// (the scan's look-ups depend on how deep a path lies).
struct SyntheticFolders {
  std::string Windows = "C:\\Windows";
  std::string System32 = "C:\\Windows\\System32";
  std::string Fonts = "C:\\Windows\\Fonts";
  std::string Media = "C:\\Windows\\Media";
  std::string Help = "C:\\Windows\\Help";
  std::string ProgramFiles = "C:\\Program Files";
  std::string CommonFiles = "C:\\Program Files\\Common Files";
};

// How big the synthetic machine is. The defaults make the benchmark's
// registry (over 200,000 keys and 1,000,000 values, a few thousand files);
// Small() makes one of some 10,000 keys for tests.
struct SyntheticSizes {
  int vendors = 200;  // folders under Program Files, 15 files in each
  int systemFiles = 300;
  int fontFiles = 800;
  int soundFiles = 100;
  int helpFiles = 200;

  int clsids = 17000;
  int progIds = 8000;
  int typeLibs = 3000;
  int interfaces = 8000;
  int extensions = 1500;
  int contentTypes = 300;
  int sharedDlls = 4000;
  int runEntries = 40;
  int appPaths = 400;
  int uninstallEntries = 1200;
  int helpEntries = 300;
  int fontEntries = 800;
  int soundApps = 40;
  int soundEvents = 25;
  // Ordinary software: vendors, products, sections (the leaf keys).
  int machineVendors = 320;
  int machineProducts = 8;
  int machineSections = 8;
  int machineValuesPerSection = 30;
  int userVendors = 200;
  int userProducts = 5;
  int userSections = 6;
  int userValuesPerSection = 40;

  static SyntheticSizes Small();
};

struct RegistryCounts {
  long keys = 0;
  long values = 0;
};

// The host folder that holds one folder per drive for the file system of
// `drive` (natively the test folder C:\Test is <that folder>/c/Test).
std::filesystem::path DrivesFolder(testing::TestDrive& drive);

// Every file and folder that exists on the synthetic machine, as Windows
// paths: `make` gets each with whether it is a folder (a file's folders are
// not named on their own).
void ForEachSyntheticFile(
    const SyntheticFolders& folders, const SyntheticSizes& sizes,
    const std::function<void(const std::string& path, bool folder)>& make);

// Makes the files the registry names on drive C: of `drive`, beside its test
// folder. The host names are in lower case unless `mixedCase`:
// the scan lower-cases most texts before it asks the file system, so a
// lower-case tree lets the native file system find names at once, as Windows
// does, while a tree spelt like the registry makes it list folders to fold
// letter case. Returns the number of files made.
int MakeSyntheticFiles(testing::TestDrive& drive,
                       const SyntheticFolders& folders, bool mixedCase,
                       const SyntheticSizes& sizes = {});

// Plants the registry in `store` (HKLM, HKCU and HKU), its random choices
// made by a generator seeded with `seed`, and counts the keys and values of
// HKLM and HKU.
RegistryCounts BuildSyntheticRegistry(RegistryStore& store,
                                      const SyntheticFolders& folders,
                                      std::uint32_t seed,
                                      const SyntheticSizes& sizes = {});

}  // namespace tidewell
