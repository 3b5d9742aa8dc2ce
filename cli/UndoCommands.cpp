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
#include "undo/UndoFolder.h"
#include "undo/UndoRestore.h"
#include "undo/Undos.h"

namespace tidewell {
namespace {

// A bare name is looked for in the restore folder; anything with a folder
// part is taken as a path of its own.
std::string GivenUndoFilePath(const TCliSystem& system, const std::string& given) {
  if (given.find_first_of("\\/:") != std::string::npos) {
    return system.FullPath ? system.FullPath(given) : given;
  }
  return tidewell::UndoFilePath(system.ApplicationFolder, given);
}

// The entries of an undo file; false after reporting why it cannot be read.
bool LoadEntries(TCliSystem& system, const std::string& given,
                 std::string& path, std::vector<TUndoEntry>& entries,
                 int& status) {
  path = GivenUndoFilePath(system, given);
  if (!system.FileSystem.FileExists(path)) {
    status = CliError(system, "no undo file " + path + " (see undo list)");
    return false;
  }
  try {
    entries = ReadUndoFile(system.FileSystem, system.CodePage, path);
  } catch (const EUndoFileError& failure) {
    status = CliError(system, failure.what());
    return false;
  }
  return true;
}

}  // namespace

int RunUndoListCommand(TCliSystem& system) {
  const std::string folder = UndoFolderOf(system.ApplicationFolder);
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
    // The verdict of show and restore: a file they refuse is unreadable here.
    std::string count = "unreadable";
    try {
      const auto entries = ReadUndoFile(system.FileSystem, system.CodePage,
                                        UndoFilePath(system.ApplicationFolder, name));
      count = std::to_string(entries.size()) + (entries.size() == 1 ? " entry" : " entries");
    } catch (const EUndoFileError&) {
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
