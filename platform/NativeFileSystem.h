// The file-system seam over a host folder that stands in for the drives: the
// Windows path "C:\Dir\file.txt" is the host file <root>/c/Dir/file.txt. Each
// component is matched against the real directory entries without regard to
// letter case, so a test tree behaves as a Windows volume does.
//
// Windows sharing is imitated with advisory locks: an exclusive handle holds
// flock(LOCK_EX), every other handle LOCK_SH, and opening or deleting a file
// whose lock conflicts fails as a sharing violation would.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace tidewell {

class NativeFileSystem final : public TFileSystem {
 public:
  // `root` holds one folder per drive, named by the lower-case drive letter.
  explicit NativeFileSystem(std::filesystem::path root);

  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  bool ForceDirectories(const std::string& path) override;
  std::vector<TFileInfo> ListFolder(const std::string& folder) override;
  bool RemoveFile(const std::string& path) override;
  bool MoveFileOver(const std::string& from, const std::string& to) override;
  bool ReadWholeFile(const std::string& path, std::string& bytes) override;
  std::unique_ptr<TWritableFile> CreateNewFile(const std::string& path,
                                               bool exclusive) override;
  std::unique_ptr<TWritableFile> OpenForAppend(const std::string& path) override;
  std::string ShortPathName(const std::string& path) override;

  // The host entry an existing Windows path names; none when it is missing or
  // the path is not a fully qualified drive path.
  std::optional<std::filesystem::path> HostPath(const std::string& path) const;

 private:
  std::filesystem::path root_;
};

}  // namespace tidewell
