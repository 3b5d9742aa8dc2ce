#include "settings/WholeFileWrite.h"

namespace tidewell {

bool WriteFileWhole(TFileSystem& fileSystem, const std::string& path,
                    const std::string& bytes, std::string& error) {
  const std::string next = path + ".new";
  // A leftover of an earlier attempt that was cut short.
  if (fileSystem.FileExists(next)) fileSystem.RemoveFile(next);
  bool written = false;
  {
    const auto file = fileSystem.CreateNewFile(next, true);
    written = file && file->Write(bytes) && file->Flush();
  }
  if (!written || !fileSystem.MoveFileOver(next, path)) {
    fileSystem.RemoveFile(next);
    error = path + " cannot be written";
    return false;
  }
  return true;
}

}  // namespace tidewell
