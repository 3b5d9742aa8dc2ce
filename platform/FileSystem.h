// The file-system seam. Paths are Windows paths in UTF-8 ("C:\Dir\file.ext",
// either separator accepted, letter case ignored as Windows ignores it). The
// Windows implementation uses the W APIs; the native one maps drive letters to
// folders of a host directory so tests run against real files without Windows.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tidewell {

struct TFileInfo {
  std::string Name;  // name only, as stored
  bool IsDirectory = false;
  std::uint64_t Size = 0;
  std::int64_t ModifiedTime = 0;  // seconds since 1970-01-01 UTC
  std::uint32_t Attributes = 0;   // FILE_ATTRIBUTE_* bits
};

// A file opened for writing. Write and Flush report failure by false so a
// caller can refuse to go on when its record did not reach the disk.
class TWritableFile {
 public:
  virtual ~TWritableFile() = default;
  virtual bool Write(const std::string& bytes) = 0;
  // Forces written bytes to the disk (FlushFileBuffers / fsync).
  virtual bool Flush() = 0;
  // Cuts the file back to its first `size` bytes; the next Write goes after
  // them. Lets a writer take back a record the disk took only in part.
  virtual bool Resize(std::uint64_t size) = 0;
};

class TFileSystem {
 public:
  virtual ~TFileSystem() = default;

  // An existing file (not a folder).
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool DirectoryExists(const std::string& path) = 0;
  // Creates the folder and every missing parent; true when it exists after.
  virtual bool ForceDirectories(const std::string& path) = 0;
  // The entries of a folder ("." and ".." left out); empty when it is missing.
  virtual std::vector<TFileInfo> ListFolder(const std::string& folder) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  // Moves the file `from` to `to`, replacing a file already there, in one
  // step: whoever reads `to` sees the old file or the new one, never neither.
  virtual bool MoveFileOver(const std::string& from, const std::string& to) = 0;
  // The whole content; false when the file cannot be opened or read.
  virtual bool ReadWholeFile(const std::string& path, std::string& bytes) = 0;
  // Creates a new file; fails (null) when it exists or cannot be created.
  // Exclusive: no other process may open it while this handle lives.
  virtual std::unique_ptr<TWritableFile> CreateNewFile(const std::string& path,
                                                       bool exclusive) = 0;
  // Opens an existing file for appending, shared for reading and writing.
  virtual std::unique_ptr<TWritableFile> OpenForAppend(
      const std::string& path) = 0;
  // The 8.3 form of an existing path; the path unchanged when there is none.
  virtual std::string ShortPathName(const std::string& path) = 0;
};

}  // namespace tidewell
