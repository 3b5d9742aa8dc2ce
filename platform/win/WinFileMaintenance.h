// TFileMaintenance over GetFileAttributesW, SetFileAttributesW and
// RemoveDirectoryW.
#pragma once

#include "platform/FileMaintenance.h"

namespace tidewell {

class WinFileMaintenance final : public TFileMaintenance {
 public:
  std::optional<std::uint32_t> Attributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
  bool RemoveEmptyFolder(const std::string& path) override;
};

}  // namespace tidewell
