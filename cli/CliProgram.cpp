#include "cli/CliProgram.h"

#include "cli/CliHelp.h"

namespace tidewell {

int CliError(TCliSystem& system, const std::string& message) {
  system.Err << "tidewell-cli: " << message << "\n";
  system.Err.flush();
  return kExitError;
}

int RunCli(const std::vector<std::string>& arguments, TCliSystem& system) {
  TCliRequest request;
  std::string error;
  if (!ParseCliArguments(arguments, request, error)) return CliError(system, error);
  switch (request.Command) {
    case TCliCommand::Help: {
      std::string text;
      if (!CliHelpText(request.HelpTopic, text)) {
        return CliError(system, "no help on \"" + request.HelpTopic +
                                    "\" (scan, clean, undo or backup)");
      }
      system.Out << text;
      system.Out.flush();
      return kExitDone;
    }
    case TCliCommand::Scan: return RunScanCommand(request, system);
    case TCliCommand::Clean: return RunCleanCommand(request, system);
    case TCliCommand::UndoList: return RunUndoListCommand(system);
    case TCliCommand::UndoShow: return RunUndoShowCommand(request, system);
    case TCliCommand::UndoRestore: return RunUndoRestoreCommand(request, system);
    case TCliCommand::Backup: return RunBackupCommand(system);
  }
  return kExitError;
}

}  // namespace tidewell
