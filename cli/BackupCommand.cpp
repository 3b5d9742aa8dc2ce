// backup: what the backup window's Run button does, with the file's path as
// the outcome instead of a message box.
#include "cli/CliProgram.h"
#include "tools/RegistryBackup.h"

namespace tidewell {

int RunBackupCommand(TCliSystem& system) {
  TRegistryBackupSystem backup{system.FileSystem, system.Processes, system.Clock};
  const TRegistryBackupResult result = BackUpRegistry(backup, system.ApplicationFolder);
  if (!result.Succeeded) return CliError(system, "Error backing up the registry!");
  system.Out << "Backup file: " << result.FilePath << "\n";
  system.Out.flush();
  return kExitDone;
}

}  // namespace tidewell
