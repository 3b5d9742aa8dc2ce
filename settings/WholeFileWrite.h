// Saving a small file of the user's (settings, the excluded-keys list) so that
// a failure part-way leaves the old file as it was: the new text goes to a
// file beside it, reaches the disk, and only then takes the old one's place.
#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace tidewell {

// False, with `error` saying what went wrong, when the file could not be
// written; the file at `path` is then unchanged.
bool WriteFileWhole(TFileSystem& fileSystem, const std::string& path,
                    const std::string& bytes, std::string& error);

}  // namespace tidewell
