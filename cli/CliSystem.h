// What the console commands work with: the system's seams (the registry
// editor started through one of them), the program's
// folder, the two output streams and the terminal. The Windows entry point
// fills it with the real seams; tests fill it with the in-memory registry, a
// test drive and string streams.
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "platform/AnsiCodePage.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/SystemEnvironment.h"
#include "registry/RegistryStore.h"

namespace tidewell {

// Exit statuses.
inline constexpr int kExitDone = 0;
inline constexpr int kExitProblemsListed = 1;
inline constexpr int kExitError = 2;
inline constexpr int kExitUndoFailed = 3;

struct TCliSystem {
  RegistryStore& Store;
  TFileSystem& FileSystem;
  TSystemEnvironment& Environment;
  TClock& Clock;
  TAnsiCodePage& CodePage;
  // Starts the registry editor for backup.
  TProcessRunner& Processes;
  // The program's folder, ending with a backslash.
  std::string ApplicationFolder;
  // Shown in the header of undo files.
  std::string ProductName;
  std::ostream& Out;
  std::ostream& Err;
  // Standard error is a terminal: progress is shown there.
  bool ProgressOnTerminal = false;
  // Standard input is a terminal: clean may ask.
  bool InputIsTerminal = false;
  // One line typed at the terminal (without its line end).
  std::function<std::string()> ReadAnswer;
  // A path as given on the command line, made full; identity when unset.
  std::function<std::string(const std::string&)> FullPath;
};

}  // namespace tidewell
