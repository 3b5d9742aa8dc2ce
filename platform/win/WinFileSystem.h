// The file-system seam over the Win32 W functions. Windows itself applies the
// path rules (both separators, letter case, trailing blanks and dots); this
// class only refuses paths that are not fully qualified, so that a test never
// depends on the current folder of the process.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace tidewell {

class WinFileSystem final : public TFileSystem {
 public:
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
};

}  // namespace tidewell
