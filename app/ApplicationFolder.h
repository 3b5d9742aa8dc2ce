// ApplicationFolder: the folder of the running program file, always ending
// with a backslash. Undo files, backups, the excluded-keys list and the
// settings files all live under it.
#pragma once

#include <string>

namespace tidewell {

// Set once while the main window is created.
extern std::string ApplicationFolder;

// The path up to and including its last backslash or colon, so that a
// program in a drive's root folder gives "C:\". A colon alone ("C:x.exe")
// gains the backslash the folder must end with.
std::string ApplicationFolderOf(const std::string& programFile);

// The name and extension of a path, without its folder.
std::string FileNameOf(const std::string& path);

}  // namespace tidewell
