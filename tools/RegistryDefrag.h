// The compaction of the registry hives: the system saves each main hive into
// a fresh file in a work folder of the program's own, and each fresh file is
// scheduled to replace the live hive at the next restart. Also the folder
// tidy-up routines the compaction uses (DelTreeEx and its helpers).
//
// Everything goes through seams: the registry store for RegFlushKey,
// RegSaveKey and RegReplaceKey, the file system and its attribute side, the
// environment for the Windows and temporary folders, and the system facts.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/FileMaintenance.h"
#include "platform/FileSystem.h"
#include "platform/SystemEnvironment.h"
#include "platform/SystemInfo.h"
#include "registry/RegistryStore.h"
#include "registry/RegistryTypes.h"

namespace tidewell {

// ---- Folder tidy-up -------------------------------------------------------

struct TFileTools {
  TFileSystem& Files;
  TFileMaintenance& Maintenance;
};

// Every attribute FindFirst knows (faAnyFile).
inline constexpr std::uint32_t kAnyFileAttributes = 0x3F;

// The path without its last character when that is a backslash.
std::string PathRemoveSeparator(const std::string& path);
// Adds the name of every entry that matches `mask` ("C:\Dir\*.*"; "*" and
// "?" as wildcards, letter case ignored) and whose hidden, system and folder
// attributes are all allowed by `attributes`; "." and ".." never. True when
// the folder could be listed to its end, false when it does not exist.
bool BuildFileList(TFileSystem& files, const std::string& mask, std::uint32_t attributes,
                   std::vector<std::string>& list);
// Deletes the folder with everything in it: read-only, hidden and system
// files too, sub-folders by itself. A failure makes the result false; with
// `stopOnError` it also ends the loop, otherwise the other entries still go.
// The folder itself is removed only when every entry went. False for "".
bool DelTreeEx(TFileTools& tools, const std::string& folder, bool stopOnError);
// Clears the read-only, hidden and system attributes of an existing entry
// that is not a plain folder; the other attributes stay. Errors are ignored.
void ClearFileAttr(TFileTools& tools, const std::string& file);

// ---- The system family and the hives ---------------------------------------

struct TSystemFamily {
  bool NtFamily = false;
  bool Windows95 = false;
  bool Windows98 = false;    // 98 and 98 SE
  bool Windows98SE = false;
  bool WindowsMe = false;
  bool Windows9x() const { return Windows95 || Windows98 || WindowsMe; }
};

TSystemFamily SystemFamilyOf(const TSystemVersion& version);

// The hive files the old size counts, as full paths under `windowsFolder`.
std::vector<std::string> HiveFiles(const TSystemFamily& family,
                                   const std::string& windowsFolder);

struct THive {
  TRootKey Root;
  const char* SubKey;
  const char* SavedFile;  // in the work folder
  const char* OldFile;    // in the work folder: where the live hive goes
  int SaveProgress;
  int ReplaceProgress;
  // The live hive's file in System32\Config on the NT family.
  const char* LiveFile;
};

// SOFTWARE, SYSTEM, SAM, .DEFAULT: the order of saving and of replacing.
extern const std::array<THive, 4> kHives;

// The work folder for a program whose version information names it
// `internalName`: that sub-folder of the temporary folder, with a trailing
// backslash. A name that is missing or could not be one folder's name gives
// "Tidewell": the folder is deleted whole at each run, so it must never be
// the temporary folder itself or lie outside it.
std::string DefragWorkFolder(const std::string& tempFolder, const std::string& internalName);

// The size of a file from its folder's entry; 0 when it is not there.
std::uint64_t FileSizeOf(TFileSystem& files, const std::string& path);

// ---- The compaction ---------------------------------------------------------

struct TDefragSystem {
  RegistryStore& Registry;
  TFileSystem& Files;
  TFileMaintenance& Maintenance;
  TSystemEnvironment& Environment;
  TSystemInfo& Info;
};

enum class TDefragOutcome {
  // The hives were saved as far as the system let (see Saved()).
  Saved,
  // The work folder could not be made: no administrative access.
  NoAccess,
  // An earlier run scheduled replacements that wait for the restart; their
  // files in the work folder were left alone and nothing was saved.
  ReplacementPending,
};

// Named in the work folder after a replacement was scheduled: the system's
// start time and the saved files the restart will install, one a line.
inline constexpr const char* kPendingRecordName = "ReplacePending.txt";
// Two readings of the start time within one session of the system differ by
// a second or two; a restart moves it by far more.
inline constexpr std::int64_t kSameBootSeconds = 120;

class TRegistryDefrag {
 public:
  using TProgress = std::function<void(int)>;

  // Decides the system family and measures the old size, once. Everything in
  // `system` must outlive the object.
  TRegistryDefrag(TDefragSystem system, const std::string& internalName);

  const TSystemFamily& Family() const { return family_; }
  const std::vector<std::string>& HiveFileList() const { return hiveFiles_; }
  std::uint64_t OldSize() const { return oldSize_; }
  std::uint64_t NewSize() const { return newSize_; }
  const std::string& WorkFolder() const { return workFolder_; }
  const std::array<bool, 4>& Saved() const { return saved_; }
  // The subkeys of the saved hives that ReplaceRegistry refused to schedule
  // because the saved file is under a tenth of the live hive file.
  const std::vector<std::string>& Refused() const { return refused_; }

  // Each showing of the window starts with no hive saved.
  void ClearSavedFlags();
  // A replacement scheduled by an earlier run of this program still waits
  // for the restart (its record names this session and its files are there).
  bool ReplacementPending();
  // Empties and makes the work folder, flushes both roots and saves the four
  // hives in order. Steps that fail after the folder exists end it quietly.
  TDefragOutcome Defrag(const TProgress& progress);
  // Schedules the saved hives; SOFTWARE opens the chain, every later one
  // only while all before it were scheduled. True when the last call made
  // succeeded (and at least one was made).
  bool ReplaceRegistry(const TProgress& progress);

 private:
  void WritePendingRecord(const std::vector<std::string>& files);

  TDefragSystem system_;
  TSystemFamily family_;
  std::vector<std::string> hiveFiles_;
  std::uint64_t oldSize_ = 0;
  std::uint64_t newSize_ = 0;
  std::string workFolder_;
  std::array<bool, 4> saved_{};
  std::vector<std::string> refused_;
};

}  // namespace tidewell
