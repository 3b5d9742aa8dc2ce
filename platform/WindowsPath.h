// The Windows path rules the native file system imitates: a fully qualified
// drive path ("C:\..." with either separator), components split at both
// separators, "." and ".." folded away, and trailing blanks and dots of the
// last component dropped.
#pragma once

#include <string>
#include <vector>

namespace tidewell {

struct TWindowsPath {
  char Drive = 0;  // lower-case drive letter
  // Components from the drive root down; empty for the root itself.
  std::vector<std::string> Components;
};

// False for relative and drive-relative paths, UNC paths, and names holding a
// character Windows refuses in file names (control characters and <>:"|?*),
// and names longer than Windows allows (255 UTF-16 units).
bool ParseWindowsPath(const std::string& path, TWindowsPath& parsed);

}  // namespace tidewell
