// An in-memory file system for the undo tests: files and folders in maps, the
// exclusive lock of a file held open without sharing, and switches that make
// creating, writing or flushing fail the way a full or vanished disk would.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace tidewell::testing {

class FakeFileSystem : public TFileSystem {
 public:
  // Failure switches.
  bool FailCreateFolders = false;
  bool FailCreateFiles = false;
  bool FailReads = false;
  // Writes fail once this many more bytes have gone through; the bytes up to
  // that point still land (a short write). Negative: never.
  long long WriteBudget = -1;
  bool FailFlush = false;
  bool FailResize = false;

  // Seen from outside the program: what the disk holds.
  std::map<std::string, std::string> Files;  // by lower-cased path
  std::set<std::string> Folders;              // lower-cased
  std::vector<std::string> FlushedFiles;      // paths flushed, in order
  // Last-write times (seconds since 1970) by lower-cased path; 0 when unset.
  std::map<std::string, std::int64_t> ModifiedTimes;
  // The last-write time of files the program creates.
  std::int64_t CreationTime = 0;

  // Puts a file on the disk; ListFolder shows its name as spelt here.
  void AddFile(const std::string& path, const std::string& content,
               std::int64_t modifiedTime = 0);

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
  std::string ShortPathName(const std::string& path) override { return path; }

  // The content of a file, by path in any letter case; empty when missing.
  std::string Content(const std::string& path) const;
  bool IsLocked(const std::string& path) const;

 private:
  class File;
  static std::string Normal(const std::string& path);
  std::set<std::string> locked_;
  std::map<std::string, std::string> spelling_;  // name part as created
};

}  // namespace tidewell::testing
