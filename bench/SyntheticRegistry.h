// A synthetic machine for scan benchmarks: a registry of some 200,000 keys
// and a million values, as installed software leaves them, and the few
// thousand files on drive C: it names. Nine file references in ten name a
// file that exists; the rest name files (and folders) that are gone.
#pragma once

#include <cstdint>
#include <filesystem>
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

struct RegistryCounts {
  long keys = 0;
  long values = 0;
};

// The host folder that holds one folder per drive for the file system of
// `drive` (natively the test folder C:\Test is <that folder>/c/Test).
std::filesystem::path DrivesFolder(testing::TestDrive& drive);

// Makes the files the registry names on drive C: of `drive`, beside its test
// folder. The host names are in lower case unless `mixedCase`:
// the scan lower-cases most texts before it asks the file system, so a
// lower-case tree lets the native file system find names at once, as Windows
// does, while a tree spelt like the registry makes it list folders to fold
// letter case. Returns the number of files made.
int MakeSyntheticFiles(testing::TestDrive& drive,
                       const SyntheticFolders& folders, bool mixedCase);

// Plants the registry in `store` (HKLM, HKCU and HKU), its random choices
// made by a generator seeded with `seed`, and counts the keys and values of
// HKLM and HKU.
RegistryCounts BuildSyntheticRegistry(RegistryStore& store,
                                      const SyntheticFolders& folders,
                                      std::uint32_t seed);

}  // namespace tidewell
