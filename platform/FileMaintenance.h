// The file operations a tidy-up of a folder tree needs beyond TFileSystem:
// reading and changing a path's attributes and removing an empty folder.
// Paths are Windows paths in UTF-8, as for TFileSystem.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tidewell {

// FILE_ATTRIBUTE_* values, as Windows defines them.
namespace fileattr {
constexpr std::uint32_t ReadOnly = 0x01;
constexpr std::uint32_t Hidden = 0x02;
constexpr std::uint32_t System = 0x04;
constexpr std::uint32_t Directory = 0x10;
constexpr std::uint32_t Archive = 0x20;
constexpr std::uint32_t Normal = 0x80;
}  // namespace fileattr

class TFileMaintenance {
 public:
  virtual ~TFileMaintenance() = default;
  // GetFileAttributes; nothing when the path names nothing.
  virtual std::optional<std::uint32_t> Attributes(const std::string& path) = 0;
  // SetFileAttributes; false when the path names nothing or is refused.
  virtual bool SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
  // RemoveDirectory: only an empty folder goes.
  virtual bool RemoveEmptyFolder(const std::string& path) = 0;
};

}  // namespace tidewell
