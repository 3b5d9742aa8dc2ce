#include "platform/NativeFileMaintenance.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace tidewell {
namespace fs = std::filesystem;

std::optional<std::uint32_t> NativeFileMaintenance::Attributes(const std::string& path) {
  const std::optional<fs::path> host = files_.HostPath(path);
  struct stat info {};
  if (!host || ::stat(host->c_str(), &info) != 0) return std::nullopt;
  std::uint32_t attributes = S_ISDIR(info.st_mode) ? fileattr::Directory : 0;
  if ((info.st_mode & S_IWUSR) == 0) attributes |= fileattr::ReadOnly;
  return attributes == 0 ? fileattr::Normal : attributes;
}

bool NativeFileMaintenance::SetAttributes(const std::string& path,
                                          std::uint32_t attributes) {
  const std::optional<fs::path> host = files_.HostPath(path);
  if (!host) return false;
  std::error_code ec;
  fs::permissions(host->c_str(), fs::perms::owner_write,
                  (attributes & fileattr::ReadOnly) != 0 ? fs::perm_options::remove
                                                         : fs::perm_options::add,
                  ec);
  return !ec;
}

bool NativeFileMaintenance::RemoveEmptyFolder(const std::string& path) {
  const std::optional<fs::path> host = files_.HostPath(path);
  if (!host) return false;
  std::error_code ec;
  if (!fs::is_directory(*host, ec) || !fs::is_empty(*host, ec)) return false;
  return fs::remove(*host, ec) && !ec;
}

}  // namespace tidewell
