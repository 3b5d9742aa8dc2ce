// The folders a file reference may be resolved against, gathered once when the
// program starts and read-only afterwards. Folder paths carry no trailing
// backslash; a folder the system does not report is the empty text.
#pragma once

#include <string>
#include <vector>

#include "platform/SystemEnvironment.h"
#include "registry/RegistryStore.h"

namespace tidewell {

struct TFolderSet {
  std::string WindowsFolder;
  std::string SystemFolder;
  std::string FontsFolder;
  std::string ProgramFilesFolder;
  std::string CommonFilesFolder;
  // "MediaPath" of HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion.
  std::string MediaPath;
  // "PATH" split at every ";", empty entries kept (a final empty one is not
  // an entry, as a trailing line break makes no line).
  std::vector<std::string> PathFolders;
  // The views of a 64-bit Windows as this program sees them.
  TWowLayout Wow = TWowLayout::None;
};

// Splits a ";"-separated folder list as PathFolders holds it.
std::vector<std::string> SplitFolderList(const std::string& list);

// Asks the environment for the folders and "PATH", and the registry for the
// media folder. A media path that cannot be read (missing key or value, a
// value of another type) is the empty text: the program must still start.
TFolderSet BuildFolderSet(TSystemEnvironment& environment,
                          RegistryStore& store);

}  // namespace tidewell
