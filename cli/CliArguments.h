// The console program's command line, parsed before anything is touched, so
// that a mistake is reported in one line and changes nothing.
//
//   scan  [--categories LIST] [--format text|json] [--explain]
//   clean [--categories LIST] [--yes] [--explain]
//   undo list
//   undo show FILE
//   undo restore FILE [--entry N ...]
//   backup
//
// "--help" (or "-h") after a command asks for that command's help; alone, or
// as "help [COMMAND]", for the overview. Options take their value as the next
// argument or after "=".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tidewell {

enum class TCliCommand { Help, Scan, Clean, UndoList, UndoShow, UndoRestore, Backup };

struct TCliRequest {
  TCliCommand Command = TCliCommand::Help;
  // For Help: "" (the overview), "scan", "clean", "undo", "undo list",
  // "undo show", "undo restore" or "backup".
  std::string HelpTopic;
  // Given with --categories; otherwise the settings file decides.
  std::optional<std::uint16_t> Categories;
  bool Json = false;
  // The text listing shows what was tested for each problem (JSON always
  // carries it).
  bool Explain = false;
  bool Yes = false;
  // The undo file as given.
  std::string File;
  // --entry numbers (from 1) in the order given; empty: every entry.
  std::vector<int> Entries;
};

// False, with `error` set to a one-line reason, for anything not listed above.
bool ParseCliArguments(const std::vector<std::string>& arguments,
                       TCliRequest& request, std::string& error);

}  // namespace tidewell
