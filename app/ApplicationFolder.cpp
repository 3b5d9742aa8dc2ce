#include "app/ApplicationFolder.h"

namespace tidewell {

std::string ApplicationFolder;

namespace {

std::size_t FolderLength(const std::string& path) {
  const std::size_t last = path.find_last_of("\\:");
  return last == std::string::npos ? 0 : last + 1;
}

}  // namespace

std::string ApplicationFolderOf(const std::string& programFile) {
  std::string folder = programFile.substr(0, FolderLength(programFile));
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

std::string FileNameOf(const std::string& path) {
  return path.substr(FolderLength(path));
}

}  // namespace tidewell
