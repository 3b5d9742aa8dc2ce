#include "platform/win/WinFileMaintenance.h"

#include <windows.h>

#include "platform/win/WideText.h"

namespace tidewell {

std::optional<std::uint32_t> WinFileMaintenance::Attributes(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(WideText(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return static_cast<std::uint32_t>(attributes);
}

bool WinFileMaintenance::SetAttributes(const std::string& path, std::uint32_t attributes) {
  return ::SetFileAttributesW(WideText(path).c_str(), attributes) != 0;
}

bool WinFileMaintenance::RemoveEmptyFolder(const std::string& path) {
  return ::RemoveDirectoryW(WideText(path).c_str()) != 0;
}

}  // namespace tidewell
