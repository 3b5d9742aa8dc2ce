#include "tools/RegistryBackup.h"

#include <exception>
#include <optional>

#include "platform/TextEncoding.h"
#include "undo/Undos.h"

namespace tidewell {
namespace {

// The short form of a folder, with exactly one trailing backslash.
std::string ShortFolder(TFileSystem& fileSystem, const std::string& folder) {
  std::string path = folder;
  while (path.size() > 1 && path.back() == '\\') path.pop_back();
  std::string shortPath = fileSystem.ShortPathName(path);
  if (shortPath.empty()) shortPath = path;
  if (shortPath.back() != '\\') shortPath += '\\';
  return shortPath;
}

bool HoldsNonEmptyFile(TFileSystem& fileSystem, const std::string& folder,
                       const std::string& name) {
  for (const TFileInfo& entry : fileSystem.ListFolder(folder)) {
    if (!entry.IsDirectory && UpcaseUtf8(entry.Name) == UpcaseUtf8(name)) {
      return entry.Size > 0;
    }
  }
  return false;
}

}  // namespace

std::string RegistryBackupFolder(const std::string& applicationFolder) {
  return applicationFolder + "registrybackups\\";
}

TRegistryBackupResult BackUpRegistry(TRegistryBackupSystem& system,
                                     const std::string& applicationFolder) {
  TRegistryBackupResult result;
  try {
    const std::string folder = RegistryBackupFolder(applicationFolder);
    const std::string folderNoSlash = folder.substr(0, folder.size() - 1);
    // Taken once: the file and the message name the same second even when
    // the clock moves on during the export.
    result.FileName = TimeStampFileName(system.Clock.Now());
    result.FilePath = folder + result.FileName;
    if (!system.FileSystem.DirectoryExists(folderNoSlash) &&
        !system.FileSystem.ForceDirectories(folderNoSlash)) {
      return result;
    }
    // The short form exists only once the folder does.
    const std::string shortFolder = ShortFolder(system.FileSystem, folder);
    const std::optional<unsigned long> exitCode = system.Processes.RunAndWait(
        "regedit /e " + shortFolder + result.FileName, shortFolder);
    result.Succeeded = exitCode == 0UL &&
                       HoldsNonEmptyFile(system.FileSystem, folderNoSlash, result.FileName);
  } catch (const std::exception&) {
    result.Succeeded = false;
  }
  return result;
}

}  // namespace tidewell
