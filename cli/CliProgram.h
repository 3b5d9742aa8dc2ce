// The console program without its Windows entry point: parses the command
// line, runs the command over the given system and returns the exit status.
// Messages about what went wrong are one line on Err, starting
// "tidewell-cli: ".
#pragma once

#include <string>
#include <vector>

#include "cli/CliArguments.h"
#include "cli/CliSystem.h"

namespace tidewell {

int RunCli(const std::vector<std::string>& arguments, TCliSystem& system);

// The commands themselves, for a request already parsed.
int RunScanCommand(const TCliRequest& request, TCliSystem& system);
int RunCleanCommand(const TCliRequest& request, TCliSystem& system);
int RunUndoListCommand(TCliSystem& system);
int RunUndoShowCommand(const TCliRequest& request, TCliSystem& system);
int RunUndoRestoreCommand(const TCliRequest& request, TCliSystem& system);
int RunBackupCommand(TCliSystem& system);

// Writes "tidewell-cli: <message>" as one line on Err and returns kExitError.
int CliError(TCliSystem& system, const std::string& message);

}  // namespace tidewell
