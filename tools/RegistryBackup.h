// BackUpRegistry: one full backup of the registry, written by the system
// registry editor's export into the "registrybackups" folder of the program
// and named by the time stamp that undo files use.
#pragma once

#include <string>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"

namespace tidewell {

struct TRegistryBackupSystem {
  TFileSystem& FileSystem;
  TProcessRunner& Processes;
  TClock& Clock;
};

struct TRegistryBackupResult {
  bool Succeeded = false;
  // The time-stamped name ("20051108102832.reg"), also after a failure.
  std::string FileName;
  // The backup folder with a backslash and the name, in its long form.
  std::string FilePath;
};

// `applicationFolder` + "registrybackups\", where the backups go.
std::string RegistryBackupFolder(const std::string& applicationFolder);

// Creates the backup folder with its parents when missing, runs
// "regedit /e " + the short form of the target (no quotes: the short form
// has no blanks) in that folder, and waits for the export to end. The backup
// counts as made only when the export exited with 0 and left a file that is
// not empty: an export that was started but failed is no backup.
// `applicationFolder` ends with a backslash.
TRegistryBackupResult BackUpRegistry(TRegistryBackupSystem& system,
                                     const std::string& applicationFolder);

}  // namespace tidewell
