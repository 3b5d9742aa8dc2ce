// TFileMaintenance over the host folder of a NativeFileSystem. The host keeps
// no hidden or system flags: read-only is the owner's missing write
// permission, a folder is a directory, and every other file reads as normal.
// Setting hidden or system is accepted and has no effect.
#pragma once

#include "platform/FileMaintenance.h"
#include "platform/NativeFileSystem.h"

namespace tidewell {

class NativeFileMaintenance final : public TFileMaintenance {
 public:
  // The file system must outlive the object.
  explicit NativeFileMaintenance(NativeFileSystem& files) : files_(files) {}

  std::optional<std::uint32_t> Attributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
  bool RemoveEmptyFolder(const std::string& path) override;

 private:
  NativeFileSystem& files_;
};

}  // namespace tidewell
