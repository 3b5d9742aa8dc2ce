// A file system for benchmarks that answers lookups with one stat() each.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"
#include "platform/WindowsPath.h"

namespace tidewell {

// The lookups the scan makes, answered with one stat() each over the
// lower-case host tree: what a lookup costs on Windows (one
// GetFileAttributesW), without the folder listing the native file system
// needs to fold letter case when a name is not found at once. Only the calls
// a scan makes are served.
class StatFileSystem final : public TFileSystem {
 public:
  explicit StatFileSystem(std::filesystem::path root) : root_(std::move(root)) {}

  bool FileExists(const std::string& path) override {
    if (!path.empty() && (path.back() == '\\' || path.back() == '/')) return false;
    struct stat info{};
    return Stat(path, info) && !S_ISDIR(info.st_mode);
  }
  bool DirectoryExists(const std::string& path) override {
    struct stat info{};
    return Stat(path, info) && S_ISDIR(info.st_mode);
  }
  bool ForceDirectories(const std::string&) override { return false; }
  std::vector<TFileInfo> ListFolder(const std::string&) override { return {}; }
  bool RemoveFile(const std::string&) override { return false; }
  bool MoveFileOver(const std::string&, const std::string&) override { return false; }
  bool ReadWholeFile(const std::string&, std::string&) override { return false; }
  std::unique_ptr<TWritableFile> CreateNewFile(const std::string&, bool) override {
    return nullptr;
  }
  std::unique_ptr<TWritableFile> OpenForAppend(const std::string&) override {
    return nullptr;
  }
  std::string ShortPathName(const std::string& path) override { return path; }

 private:
  bool Stat(const std::string& path, struct stat& info) const {
    TWindowsPath parsed;
    if (!ParseWindowsPath(path, parsed)) return false;
    std::string host = root_.string() + "/" + parsed.Drive;
    for (const std::string& name : parsed.Components) {
      host += '/';
      host += DowncaseUtf8(name);
    }
    return ::stat(host.c_str(), &info) == 0;
  }

  std::filesystem::path root_;
};

}  // namespace tidewell
