#include "cli/CliArguments.h"

#include <utility>

#include "settings/SettingsFile.h"
#include "cli/CategoryList.h"

namespace tidewell {
namespace {

bool IsHelp(const std::string& argument) {
  return argument == "--help" || argument == "-h" || argument == "/?";
}

// Walks the arguments after the command words.
class TOptionReader {
 public:
  TOptionReader(const std::vector<std::string>& arguments, std::size_t first,
                std::string command)
      : arguments_(arguments), at_(first), command_(std::move(command)) {}

  bool AtEnd() const { return at_ >= arguments_.size(); }
  // The next argument; for "--name=value" only the "--name" part.
  std::string Next() {
    std::string argument = arguments_[at_++];
    inlineValue_.reset();
    const std::size_t equals = argument.find('=');
    if (argument.rfind("--", 0) == 0 && equals != std::string::npos) {
      inlineValue_ = argument.substr(equals + 1);
      argument.resize(equals);
    }
    return argument;
  }
  bool HasInlineValue() const { return inlineValue_.has_value(); }
  bool Value(const std::string& option, std::string& value, std::string& error) {
    if (inlineValue_) {
      value = *inlineValue_;
      return true;
    }
    if (AtEnd()) {
      error = command_ + ": " + option + " needs a value";
      return false;
    }
    value = arguments_[at_++];
    return true;
  }

 private:
  const std::vector<std::string>& arguments_;
  std::size_t at_;
  std::string command_;
  std::optional<std::string> inlineValue_;
};

bool HelpAsked(const std::vector<std::string>& arguments, std::size_t first) {
  for (std::size_t i = first; i < arguments.size(); ++i) {
    if (IsHelp(arguments[i])) return true;
  }
  return false;
}

bool Unexpected(const std::string& command, const std::string& argument,
                std::string& error) {
  error = argument.rfind("-", 0) == 0
              ? command + ": unknown option \"" + argument + "\" (see " +
                    command + " --help)"
              : command + ": unexpected argument \"" + argument + "\" (see " +
                    command + " --help)";
  return false;
}

bool ParseScanOrClean(const std::vector<std::string>& arguments, bool clean,
                      TCliRequest& request, std::string& error) {
  const std::string command = clean ? "clean" : "scan";
  request.Command = clean ? TCliCommand::Clean : TCliCommand::Scan;
  TOptionReader reader(arguments, 1, command);
  while (!reader.AtEnd()) {
    const std::string option = reader.Next();
    std::string value;
    if (option == "--categories") {
      if (!reader.Value(option, value, error)) return false;
      std::uint16_t categories = 0;
      std::string reason;
      if (!ParseCategoryList(value, categories, reason)) {
        error = command + ": " + reason;
        return false;
      }
      request.Categories = categories;
    } else if (option == "--format" && !clean) {
      if (!reader.Value(option, value, error)) return false;
      if (value != "text" && value != "json") {
        error = "scan: unknown format \"" + value + "\" (text or json)";
        return false;
      }
      request.Json = value == "json";
    } else if (option == "--yes" && clean && !reader.HasInlineValue()) {
      request.Yes = true;
    } else if (option == "--explain" && !reader.HasInlineValue()) {
      request.Explain = true;
    } else {
      return Unexpected(command, option, error);
    }
  }
  return true;
}

bool ParseUndo(const std::vector<std::string>& arguments, TCliRequest& request,
               std::string& error) {
  if (arguments.size() < 2) {
    error = "undo: say list, show FILE or restore FILE (see undo --help)";
    return false;
  }
  const std::string& action = arguments[1];
  const std::string command = "undo " + action;
  if (action == "list") {
    request.Command = TCliCommand::UndoList;
    if (arguments.size() > 2) return Unexpected(command, arguments[2], error);
    return true;
  }
  if (action != "show" && action != "restore") {
    error = "undo: unknown action \"" + action + "\" (list, show or restore)";
    return false;
  }
  const bool restore = action == "restore";
  request.Command = restore ? TCliCommand::UndoRestore : TCliCommand::UndoShow;
  TOptionReader reader(arguments, 2, command);
  while (!reader.AtEnd()) {
    const std::string argument = reader.Next();
    if (restore && argument == "--entry") {
      std::string value;
      if (!reader.Value(argument, value, error)) return false;
      const auto number = ParseWholeNumber(value);
      if (!number || *number < 1 || *number > 1000000000) {
        error = command + ": --entry needs an entry number from 1, not \"" + value + "\"";
        return false;
      }
      request.Entries.push_back(static_cast<int>(*number));
    } else if (request.File.empty() && !argument.empty() && argument[0] != '-') {
      request.File = argument;
    } else {
      return Unexpected(command, argument, error);
    }
  }
  if (request.File.empty()) {
    error = command + ": name the undo file (see undo list)";
    return false;
  }
  return true;
}

}  // namespace

bool ParseCliArguments(const std::vector<std::string>& arguments,
                       TCliRequest& request, std::string& error) {
  request = TCliRequest{};
  if (arguments.empty()) {
    error = "no command given (scan, clean, undo or backup; see --help)";
    return false;
  }
  const std::string& command = arguments[0];
  if (IsHelp(command) || command == "help") {
    request.Command = TCliCommand::Help;
    if (command == "help" && arguments.size() > 1) {
      request.HelpTopic = arguments[1];
      if (arguments.size() > 2) request.HelpTopic += " " + arguments[2];
    }
    return true;
  }
  if (command == "scan" || command == "clean") {
    if (HelpAsked(arguments, 1)) {
      request.Command = TCliCommand::Help;
      request.HelpTopic = command;
      return true;
    }
    return ParseScanOrClean(arguments, command == "clean", request, error);
  }
  if (command == "undo") {
    if (HelpAsked(arguments, 1)) {
      request.Command = TCliCommand::Help;
      request.HelpTopic = arguments.size() > 1 && !IsHelp(arguments[1])
                              ? "undo " + arguments[1]
                              : "undo";
      return true;
    }
    return ParseUndo(arguments, request, error);
  }
  if (command == "backup") {
    if (HelpAsked(arguments, 1)) {
      request.Command = TCliCommand::Help;
      request.HelpTopic = command;
      return true;
    }
    request.Command = TCliCommand::Backup;
    if (arguments.size() > 1) return Unexpected(command, arguments[1], error);
    return true;
  }
  error = "unknown command \"" + command + "\" (scan, clean, undo or backup; see --help)";
  return false;
}

}  // namespace tidewell
