// A full scan at registry scale: a synthetic registry of some 200,000 keys and
// a million values in the in-memory store (bench/SyntheticRegistry), with a few
// thousand real files in a test drive standing in for drive C:. Measures, with
// plain wall-clock time:
//   - a bare walk of the same registry (every key opened, listed, every string
//     value read, each value with its type and data in one call): the least
//     any scan must cost; once more reading each value by name, as the file
//     list once did, for comparison;
//   - the full scan with every category, through the real engine thread;
//   - each category alone.
// For every run it prints the file-system and registry-store calls the run
// made (counted by decorators around the real objects), the file tests the
// scan asked for, the process's resident memory and a digest of the records
// found, then a summary: the full scan against the bare walk in time and
// store calls, file-system calls against the distinct paths the scan tests
// (counted in one more full scan that keeps every path), and peak memory
// against what the process holds once the registry is built.
//
// Options: --runs=N (full scans, default 2), --walk-runs=N (default 3),
// --skip-categories, --only-full (one full scan and nothing else, for a
// profiler), --mixed-case-files (host files spelt as the registry spells
// them; the native file system then folds letter case by listing folders,
// which Windows never has to do), --stat-fs (lookups answered with one stat()
// each instead of through NativeFileSystem, to tell the scan's own file-system
// cost from the native seam's).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/CountingFileSystem.h"
#include "bench/CountingRegistryStore.h"
#include "bench/ResidentMemory.h"
#include "bench/StatFileSystem.h"
#include "bench/SyntheticRegistry.h"
#include "platform/FileSystem.h"
#include "platform/NativeSystemEnvironment.h"
#include "platform/WindowsPath.h"
#include "registry/MemoryRegistryStore.h"
#include "registry/Registry.h"
#include "scan/AllChecks.h"
#include "scan/FileReferences.h"
#include "scan/FolderSet.h"
#include "scan/QueueDispatcher.h"
#include "scan/RegistryWork.h"
#include "tests/platform/TestDrive.h"

namespace tidewell {
namespace {

using Clock = BenchClock;

// ---------------------------------------------------------------------------
// The runs

struct Run {
  std::string name;
  double seconds = 0;
  long keys = 0;     // walk only
  long strings = 0;  // walk only
  std::size_t records = 0;
  CountingFileSystem::Counts files;
  CountingRegistryStore::Counts store;
  TFileTestCounts tests;  // full scans and categories
  // Events the engine raised: each is a hand-off to the owner's thread in
  // the cleanup window and the console alike.
  std::uint64_t statusEvents = 0;
  std::uint64_t progressEvents = 0;
  std::uint64_t digest = 0;  // of the records, in order
  double residentMiB = 0;
  double peakMiB = 0;
};

// FNV-1a over every record's texts, so runs of different builds can be told
// apart or alike at a glance.
std::uint64_t RecordsDigest(const TRegistryErrorList& records) {
  std::uint64_t hash = 1469598103934665603ull;
  const auto add = [&hash](const std::string& text) {
    for (const char c : text + '\x1f') {
      hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
  };
  for (const auto& record : records) {
    add(TRegistryCheckThread::RegistryErrorKeyText(*record));
    add(record->ValueName);
    add(record->ValueData);
    add(record->Description);
  }
  return hash;
}

// What any scan costs at the least: every key of both roots opened, its
// counts asked for, listed, and every string value read, each value with its
// type and data in one call. `byName` reads as the file list once did: the
// names to the end, then the type and the data of each value in calls of
// their own.
void WalkKey(TRegistry& registry, const std::string& path, bool byName, Run& run) {
  registry.CloseKey();
  if (!registry.OpenKeyReadOnly("\\" + path)) return;
  ++run.keys;
  std::vector<std::string> subKeys;
  std::uint32_t subKeyCount = 0;
  std::uint32_t valueCount = 0;
  if (byName) {
    registry.GetKeyNames(subKeys);
  } else if (registry.GetKeyCounts(subKeyCount, valueCount) && subKeyCount > 0) {
    registry.GetKeyNames(subKeys, subKeyCount);
  }
  if (byName) {
    std::vector<std::string> names;
    registry.GetValueNames(names);
    for (const std::string& name : names) {
      const TRegDataType type = registry.GetDataType(name);
      if (type == TRegDataType::rdString || type == TRegDataType::rdExpandString) {
        benchmark::DoNotOptimize(registry.ReadString(name));
        ++run.strings;
      }
    }
  } else {
    std::vector<TRegValue> values;
    if (valueCount > 0) registry.GetValues(values, valueCount);
    for (const TRegValue& value : values) {
      const TRegDataType type = value.DataType();
      if (type == TRegDataType::rdString || type == TRegDataType::rdExpandString) {
        benchmark::DoNotOptimize(value.Text());
        ++run.strings;
      }
    }
  }
  for (const std::string& name : subKeys) {
    WalkKey(registry, path.empty() ? name : path + "\\" + name, byName, run);
  }
}

Run BareWalk(CountingRegistryStore& store, CountingFileSystem& files,
             bool byName = false) {
  Run run;
  run.name = byName ? "bare walk (by name)" : "bare walk";
  store.Reset();
  files.Reset();
  const Clock::time_point start = Clock::now();
  TRegistry registry(store);
  for (const TRootKey root : {TRootKey::LocalMachine, TRootKey::CurrentUser}) {
    registry.SetRootKey(root);
    WalkKey(registry, "", byName, run);
  }
  registry.CloseKey();
  run.seconds = SecondsSince(start);
  run.store = store.Snapshot();
  run.files = files.Snapshot();
  run.residentMiB = CurrentResidentMiB();
  run.peakMiB = PeakResidentMiB();
  return run;
}

Run Scan(const std::string& name, std::uint16_t categories,
         CountingRegistryStore& store, CountingFileSystem& files,
         TFileReferences& refs) {
  Run run;
  run.name = name;
  store.Reset();
  files.Reset();
  const Clock::time_point start = Clock::now();
  {
    TQueueDispatcher dispatcher;
    TRegistryCheckThread engine(store, dispatcher, nullptr, MakeAllChecks(refs));
    engine.Categories = categories;
    engine.OnShowStatus = [&run](TRegistryCheckThread&) { ++run.statusEvents; };
    engine.OnShowProgress = [&run](TRegistryCheckThread&) { ++run.progressEvents; };
    engine.Start();
    engine.WaitFor();
    if (engine.FatalException()) {
      std::fprintf(stderr, "%s: the scan failed\n", name.c_str());
    }
    run.records = engine.Errors.size();
    run.digest = RecordsDigest(engine.Errors);
    // Taken before the engine frees its records.
    run.residentMiB = CurrentResidentMiB();
  }
  run.seconds = SecondsSince(start);
  run.store = store.Snapshot();
  run.files = files.Snapshot();
  run.tests = refs.LastScanTests();
  run.peakMiB = PeakResidentMiB();
  return run;
}

void PrintRun(const Run& run) {
  std::printf(
      "%-22s %9.3f s  records %7zu  fs: FileExists %8llu  DirectoryExists %7llu  "
      "ListFolder %llu  other %llu  (%.3f s in fs; %llu misses took %.3f s)\n"
      "%-22s              store: open %8llu (%llu failed)  close %8llu  queryInfo %8llu  "
      "enumKey %8llu  enumValue %8llu  queryValue %8llu  other %llu\n"
      "%-22s              memory: resident %.1f MiB, peak %.1f MiB;  file tests %llu, "
      "distinct paths %llu;  events: status %llu, progress %llu;  records digest %016llx\n",
      run.name.c_str(), run.seconds, run.records,
      static_cast<unsigned long long>(run.files.fileExists),
      static_cast<unsigned long long>(run.files.directoryExists),
      static_cast<unsigned long long>(run.files.listFolder),
      static_cast<unsigned long long>(run.files.other), run.files.seconds,
      static_cast<unsigned long long>(run.files.misses), run.files.missSeconds, "",
      static_cast<unsigned long long>(run.store.open),
      static_cast<unsigned long long>(run.store.openFailed),
      static_cast<unsigned long long>(run.store.close),
      static_cast<unsigned long long>(run.store.queryInfo),
      static_cast<unsigned long long>(run.store.enumKey),
      static_cast<unsigned long long>(run.store.enumValue),
      static_cast<unsigned long long>(run.store.queryValue),
      static_cast<unsigned long long>(run.store.other), "", run.residentMiB,
      run.peakMiB, static_cast<unsigned long long>(run.tests.tests),
      static_cast<unsigned long long>(run.tests.distinctPaths),
      static_cast<unsigned long long>(run.statusEvents),
      static_cast<unsigned long long>(run.progressEvents),
      static_cast<unsigned long long>(run.digest));
  std::fflush(stdout);
}

const Run& Fastest(const std::vector<Run>& runs) {
  return *std::min_element(runs.begin(), runs.end(), [](const Run& a, const Run& b) {
    return a.seconds < b.seconds;
  });
}

int IntOption(int argc, char** argv, const char* prefix, int fallback) {
  const std::size_t length = std::strlen(prefix);
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], prefix, length) == 0) return std::atoi(argv[i] + length);
  }
  return fallback;
}

bool Flag(int argc, char** argv, const char* flag) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], flag) == 0) return true;
  }
  return false;
}

constexpr std::uint16_t kEveryCategory =
    cfSharedDlls | cfFileAssociations | cfStartupRun | cfAppPaths | cfHelp |
    cfFonts | cfSounds | cfClassesSection | cfFileList;

int Main(int argc, char** argv) {
  const int scanRuns = std::max(1, IntOption(argc, argv, "--runs=", 2));
  const int walkRuns = std::max(1, IntOption(argc, argv, "--walk-runs=", 3));
  const bool onlyFull = Flag(argc, argv, "--only-full");
  const bool skipCategories = onlyFull || Flag(argc, argv, "--skip-categories");
  const bool mixedCase = Flag(argc, argv, "--mixed-case-files");
  const bool statFs = !mixedCase && Flag(argc, argv, "--stat-fs");

  // --- set-up
  const Clock::time_point setupStart = Clock::now();
  testing::TestDrive drive;
  const SyntheticFolders machine;
  const int hostFiles = MakeSyntheticFiles(drive, machine, mixedCase);
  const double filesSeconds = SecondsSince(setupStart);

  MemoryRegistryStore memory;
  const RegistryCounts counts =
      BuildSyntheticRegistry(memory, machine, 20261208);
  // What the process holds with the registry built and nothing run yet.
  const double storeMiB = CurrentResidentMiB();
  std::printf(
      "set-up: %d host files in %.2f s; registry of %ld keys and %ld values "
      "(HKLM and HKU) in %.2f s; resident %.1f MiB\n",
      hostFiles, filesSeconds, counts.keys, counts.values,
      SecondsSince(setupStart) - filesSeconds, storeMiB);
  std::printf("host files spelt %s; lookups through %s\n\n",
              mixedCase ? "as the registry spells them (case folded by listing)"
                        : "in lower case",
              statFs ? "one stat() each (as Windows: one call per lookup)"
                     : "NativeFileSystem (a name not found at once lists its folder)");
  std::fflush(stdout);

  StatFileSystem statOnly(DrivesFolder(drive));
  CountingFileSystem files(statFs ? static_cast<TFileSystem&>(statOnly)
                                  : drive.FileSystem());
  CountingRegistryStore store(memory);

  TSpecialFolders special;
  special.WindowsFolder = machine.Windows;
  special.SystemFolder = machine.System32;
  special.FontsFolder = machine.Fonts;
  special.ProgramFilesFolder = machine.ProgramFiles;
  special.CommonFilesFolder = machine.CommonFiles;
  special.TempFolder = machine.Windows + "\\Temp";
  special.ProgramFileName = machine.ProgramFiles + "\\Tidewell\\Tidewell.exe";
  const std::string path = machine.System32 + ";" + machine.Windows;
  NativeSystemEnvironment environment(
      special, {{"PATH", path},
                {"SystemRoot", machine.Windows},
                {"windir", machine.Windows},
                {"ProgramFiles", machine.ProgramFiles},
                {"SystemDrive", "C:"}});
  const TFolderSet folders = BuildFolderSet(environment, memory);
  TFileReferences fileRefs(folders, files, environment, store);

  // --- runs
  std::vector<Run> walks;
  if (!onlyFull) {
    for (int i = 0; i < walkRuns; ++i) {
      walks.push_back(BareWalk(store, files));
      PrintRun(walks.back());
    }
  }
  // The walk as the file list once read values, for comparison.
  Run byNameWalk;
  if (!onlyFull) {
    byNameWalk = BareWalk(store, files, true);
    PrintRun(byNameWalk);
  }
  std::vector<Run> fulls;
  for (int i = 0; i < (onlyFull ? 1 : scanRuns); ++i) {
    fulls.push_back(Scan("full scan", kEveryCategory, store, files, fileRefs));
    PrintRun(fulls.back());
  }
  struct Category {
    const char* name;
    std::uint16_t flag;
  };
  static const Category kCategories[] = {
      {"classes", cfClassesSection}, {"shared DLLs", cfSharedDlls},
      {"startup run", cfStartupRun}, {"app paths+uninstall", cfAppPaths},
      {"help", cfHelp},              {"fonts", cfFonts},
      {"sounds", cfSounds},          {"file list", cfFileList},
  };
  std::vector<Run> categories;
  if (!skipCategories) {
    for (const Category& category : kCategories) {
      categories.push_back(Scan(category.name, category.flag, store, files, fileRefs));
      PrintRun(categories.back());
    }
  }

  // --- summary
  std::printf("\nsummary (fastest run of each)\n");
  std::printf("%-22s %10s %10s %12s %10s %12s %10s\n", "run", "seconds",
              "x walk", "fs calls", "fs secs", "store calls", "records");
  const double walkSeconds = walks.empty() ? 0 : Fastest(walks).seconds;
  const auto line = [&](const Run& run) {
    std::printf("%-22s %10.3f %10s %12llu %10.3f %12llu %10zu\n", run.name.c_str(),
                run.seconds,
                walkSeconds > 0
                    ? (std::to_string(run.seconds / walkSeconds).substr(0, 6) + "x").c_str()
                    : "-",
                static_cast<unsigned long long>(run.files.Total()), run.files.seconds,
                static_cast<unsigned long long>(run.store.Total()), run.records);
  };
  if (!walks.empty()) line(Fastest(walks));
  line(Fastest(fulls));
  for (const Run& run : categories) line(run);
  const double peakMiB = PeakResidentMiB();

  // One more full scan that keeps every path it tests, to count the distinct
  // ones (not timed: the keeping costs time and memory of its own).
  fileRefs.CountDistinctPaths(true);
  const Run counted = Scan("full scan (paths kept)", kEveryCategory, store, files, fileRefs);
  fileRefs.CountDistinctPaths(false);
  PrintRun(counted);

  const Run& full = Fastest(fulls);
  std::printf("\n");
  if (!walks.empty()) {
    const Run& walk = Fastest(walks);
    const auto share = [&full](const Run& run) {
      return static_cast<double>(full.store.Total()) /
             static_cast<double>(std::max<std::uint64_t>(1, run.store.Total()));
    };
    std::printf("store calls: full scan %llu, bare walk %llu: %.2fx (the walk reading "
                "values by name: %llu, %.2fx)\n",
                static_cast<unsigned long long>(full.store.Total()),
                static_cast<unsigned long long>(walk.store.Total()), share(walk),
                static_cast<unsigned long long>(byNameWalk.store.Total()),
                share(byNameWalk));
  }
  std::printf("file-system calls: %llu for %llu distinct paths tested (%llu tests): %.2fx\n",
              static_cast<unsigned long long>(full.files.Total()),
              static_cast<unsigned long long>(counted.tests.distinctPaths),
              static_cast<unsigned long long>(counted.tests.tests),
              static_cast<double>(full.files.Total()) /
                  static_cast<double>(std::max<std::uint64_t>(1, counted.tests.distinctPaths)));
  std::printf("peak resident memory: %.1f MiB, %.2fx the %.1f MiB held with the registry built\n",
              peakMiB, peakMiB / storeMiB, storeMiB);
  std::printf("records: %zu, digest %016llx%s\n", full.records,
              static_cast<unsigned long long>(full.digest),
              counted.digest == full.digest ? "" : " (the runs differ!)");
  if (!walks.empty()) {
    std::printf("full scan / bare walk: %.2fx (%.2fx with file-system time left out)\n",
                full.seconds / walkSeconds,
                (full.seconds - full.files.seconds) / walkSeconds);
  }
  return 0;
}

}  // namespace
}  // namespace tidewell

int main(int argc, char** argv) { return tidewell::Main(argc, argv); }
