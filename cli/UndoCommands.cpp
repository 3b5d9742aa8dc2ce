// undo list, show and restore: the undo window's work from the console. The
// files are the ones every cleanup writes into the restore folder; a file is
// read the way the undo window reads it, entry by entry, one per value line.
#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "cli/CliProgram.h"
#include "platform/TextEncoding.h"
#include "registry/Registry.h"
#include "registry/RegistryTypes.h"
#include "undo/UndoFileParser.h"
#include "undo/UndoRestore.h"

namespace tidewell {
namespace {

std::string RestoreFolder(const TCliSystem& system) {
  return system.ApplicationFolder + "restore";
}

bool IsUndoFileName(const std::string& name) {
  return name.size() > 4 && NamesEqual(name.substr(name.size() - 4), ".reg");
}

// A bare name is looked for in the restore folder; anything with a folder
// part is taken as a path of its own.
std::string UndoFilePath(const TCliSystem& system, const std::string& given) {
  if (given.find_first_of("\\/:") != std::string::npos) {
    return system.FullPath ? system.FullPath(given) : given;
  }
  return RestoreFolder(system) + "\\" + given;
}

// The entries of an undo file; false after reporting why it cannot be read.
bool LoadEntries(TCliSystem& system, const std::string& given,
                 std::string& path, std::vector<TUndoEntry>& entries,
                 int& status) {
  path = UndoFilePath(system, given);
  if (!system.FileSystem.FileExists(path)) {
    status = CliError(system, "no undo file " + path + " (see undo list)");
    return false;
  }
  std::string bytes;
  if (!system.FileSystem.ReadWholeFile(path, bytes)) {
    status = CliError(system, "the undo file " + path + " cannot be read");
    return false;
  }
  // Undo files are 8-bit text; what holds NUL bytes is something else, such
  // as the registry editor's UTF-16 export, and would restore garbage.
  if (bytes.find('\0') != std::string::npos) {
    status = CliError(system, path + " is not an undo file (it is not 8-bit text)");
    return false;
  }
  entries = ParseUndoEntries(SplitUndoFileLines(system.CodePage.ToUtf8(bytes)));
  return true;
}

}  // namespace

int RunUndoListCommand(TCliSystem& system) {
  const std::string folder = RestoreFolder(system);
  std::vector<std::string> names;
  for (const TFileInfo& info : system.FileSystem.ListFolder(folder)) {
    if (!info.IsDirectory && IsUndoFileName(info.Name)) names.push_back(info.Name);
  }
  // The time-stamp names sort oldest first.
  std::sort(names.begin(), names.end());
  if (names.empty()) {
    system.Out << "No undo files in " << folder << "\n";
    return kExitDone;
  }
  for (const std::string& name : names) {
    std::string bytes;
    std::string count = "unreadable";
    if (system.FileSystem.ReadWholeFile(folder + "\\" + name, bytes)) {
      const auto entries =
          ParseUndoEntries(SplitUndoFileLines(system.CodePage.ToUtf8(bytes)));
      count = std::to_string(entries.size()) + (entries.size() == 1 ? " entry" : " entries");
    }
    system.Out << name << "  " << count << "\n";
  }
  return kExitDone;
}

int RunUndoShowCommand(const TCliRequest& request, TCliSystem& system) {
  std::string path;
  std::vector<TUndoEntry> entries;
  int status = kExitDone;
  if (!LoadEntries(system, request.File, path, entries, status)) return status;
  if (entries.empty()) {
    system.Out << path << " holds no entries\n";
    return kExitDone;
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    // A key recorded without values is restored as the empty key.
    const std::string& value = entries[i].Value;
    system.Out << i + 1 << ". [" << entries[i].Key << "]\n   "
               << (value.empty() ? "(the key itself, without values)" : value) << "\n";
  }
  return kExitDone;
}

int RunUndoRestoreCommand(const TCliRequest& request, TCliSystem& system) {
  std::string path;
  std::vector<TUndoEntry> entries;
  int status = kExitDone;
  if (!LoadEntries(system, request.File, path, entries, status)) return status;
  // Every number is checked before anything is written.
  for (int number : request.Entries) {
    if (static_cast<std::size_t>(number) > entries.size()) {
      return CliError(system, "undo restore: " + path + " has no entry " +
                                  std::to_string(number) + " (it has " +
                                  std::to_string(entries.size()) + ")");
    }
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    entries[i].Ticked =
        request.Entries.empty() ||
        std::find(request.Entries.begin(), request.Entries.end(),
                  static_cast<int>(i + 1)) != request.Entries.end();
  }
  const auto chosen = static_cast<std::size_t>(
      std::count_if(entries.begin(), entries.end(),
                    [](const TUndoEntry& entry) { return entry.Ticked; }));
  bool allWritten = false;
  try {
    allWritten = RestoreUndo(system.Store, system.CodePage, entries);
  } catch (const std::exception&) {
    allWritten = false;
  }
  const auto left = static_cast<std::size_t>(
      std::count_if(entries.begin(), entries.end(),
                    [](const TUndoEntry& entry) { return entry.Ticked; }));
  system.Out << "Restored " << chosen - left << " of " << chosen
             << (chosen == 1 ? " entry" : " entries") << " from " << path << "\n";
  system.Out.flush();
  if (allWritten) return kExitDone;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].Ticked) {
      system.Err << "  not restored: " << i + 1 << ". [" << entries[i].Key << "] "
                 << entries[i].Value << "\n";
    }
  }
  return CliError(system, "undo restore: " + std::to_string(left) +
                              (left == 1 ? " entry" : " entries") +
                              " could not be written back");
}

}  // namespace tidewell
