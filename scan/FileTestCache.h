// The file tests of one scan, each answered from the disk once. A scan tests
// tens of thousands of paths, most of them in the same few hundred folders and
// many of them again and again (every leading part of a command line, every
// bare name in every system folder). So the first test below a folder lists
// that folder, and the folders above it, once; every later test in it is
// answered from the listing, letter case ignored as Windows ignores it, and a
// path below a folder that is not there is answered without asking at all.
//
// A listing cannot answer every path for certain. These go to the file system
// itself, once each: relative and UNC paths, the drive root itself, names
// outside printable ASCII (Windows folds their letter case by a table of its
// own), names with a "~" (possibly a short 8.3 name, which listings do not
// show), device names ("nul", "com1.txt"), "Sysnative" (a folder that only
// 32-bit programs see, and no listing shows), folder names that end in a blank
// or a dot, a last name of nothing but dots and blanks, and names in a folder
// whose listing came back empty (the folder may be empty, or allow reaching
// its files but not listing them) or that holds a name outside ASCII.
//
// What the disk holds is taken as it was when first asked: the cache lives for
// one scan and is dropped with it. Used on the scan thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/FileSystem.h"

namespace tidewell {

// How many tests a scan asked for, and how many distinct paths they named.
struct TFileTestCounts {
  std::uint64_t tests = 0;
  // Counted only when asked for (it keeps every path): zero otherwise.
  std::uint64_t distinctPaths = 0;
};

class TFileTestCache final : public TFileSystem {
 public:
  // `files` must outlive the cache. `countDistinct` keeps every path asked
  // for, to count the distinct ones (for benchmarks).
  explicit TFileTestCache(TFileSystem& files, bool countDistinct = false);
  ~TFileTestCache() override;
  TFileTestCache(const TFileTestCache&) = delete;
  TFileTestCache& operator=(const TFileTestCache&) = delete;

  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;

  // The rest goes to the file system as asked, remembering nothing.
  bool ForceDirectories(const std::string& path) override;
  std::vector<TFileInfo> ListFolder(const std::string& folder) override;
  bool RemoveFile(const std::string& path) override;
  bool MoveFileOver(const std::string& from, const std::string& to) override;
  bool ReadWholeFile(const std::string& path, std::string& bytes) override;
  std::unique_ptr<TWritableFile> CreateNewFile(const std::string& path,
                                               bool exclusive) override;
  std::unique_ptr<TWritableFile> OpenForAppend(const std::string& path) override;
  std::string ShortPathName(const std::string& path) override;

  TFileTestCounts Counts() const;

 private:
  struct Folder;
  enum class Kind { File, Directory };

  bool Test(const std::string& path, Kind kind);
  // The answer the listings give; -1 when they cannot give one for certain.
  int FromListings(const std::string& path, Kind kind);
  // The folder with the upper-cased key, listed on first use from `path`.
  Folder& FolderAt(const std::string& key, const std::string& path);

  TFileSystem& files_;
  std::unordered_map<std::string, std::unique_ptr<Folder>> folders_;
  // Every path answered, as written: the answer for each.
  std::unordered_map<std::string, bool> fileAnswers_;
  std::unordered_map<std::string, bool> folderAnswers_;
  const bool countDistinct_;
  std::unordered_set<std::string> asked_;
  std::uint64_t tests_ = 0;
};

}  // namespace tidewell
