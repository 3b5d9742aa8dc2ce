#include "platform/NativeFileSystem.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

#include "platform/TextEncoding.h"
#include "platform/WindowsPath.h"

namespace tidewell {
namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kAttributeDirectory = 0x10;
constexpr std::uint32_t kAttributeNormal = 0x80;

// Closes the descriptor on every path out of a routine.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

class NativeWritableFile final : public TWritableFile {
 public:
  explicit NativeWritableFile(int fd) : fd_(fd) {}
  ~NativeWritableFile() override { ::close(fd_); }
  NativeWritableFile(const NativeWritableFile&) = delete;
  NativeWritableFile& operator=(const NativeWritableFile&) = delete;

  bool Write(const std::string& bytes) override {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      done += static_cast<std::size_t>(n);
    }
    return true;
  }

  bool Flush() override { return ::fsync(fd_) == 0; }

  bool Resize(std::uint64_t size) override {
    const auto length = static_cast<off_t>(size);
    // A file opened without O_APPEND keeps its offset: move it back too, or
    // the next write would leave a hole.
    return ::ftruncate(fd_, length) == 0 && ::lseek(fd_, length, SEEK_SET) == length;
  }

 private:
  int fd_;
};

// The entry of `folder` whose name equals `name` without regard to letter
// case; an exact match is preferred, as it is the cheap and certain one.
std::optional<fs::path> FindEntry(const fs::path& folder,
                                  const std::string& name) {
  std::error_code ec;
  const fs::path exact = folder / name;
  if (fs::exists(fs::status(exact, ec))) return exact;
  fs::directory_iterator it(folder, ec);
  if (ec) return std::nullopt;
  for (const fs::directory_entry& entry : it) {
    if (NamesEqual(entry.path().filename().string(), name)) return entry.path();
  }
  return std::nullopt;
}

bool IsDirectory(const fs::path& host) {
  std::error_code ec;
  return fs::is_directory(fs::status(host, ec));
}

bool IsRegularFile(const fs::path& host) {
  std::error_code ec;
  const fs::file_status status = fs::status(host, ec);
  return fs::exists(status) && !fs::is_directory(status);
}

// A lock that fails at once when it conflicts with another handle's lock.
bool TryLock(int fd, int operation) {
  while (::flock(fd, operation | LOCK_NB) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

}  // namespace

NativeFileSystem::NativeFileSystem(fs::path root) : root_(std::move(root)) {}

std::optional<fs::path> NativeFileSystem::HostPath(
    const std::string& path) const {
  TWindowsPath parsed;
  if (!ParseWindowsPath(path, parsed)) return std::nullopt;
  fs::path host = root_ / std::string(1, parsed.Drive);
  if (!IsDirectory(host)) return std::nullopt;
  for (const std::string& name : parsed.Components) {
    std::optional<fs::path> next = FindEntry(host, name);
    if (!next) return std::nullopt;
    host = std::move(*next);
  }
  return host;
}

bool NativeFileSystem::FileExists(const std::string& path) {
  // "file.txt\" names a folder, and a file is none.
  if (!path.empty() && (path.back() == '\\' || path.back() == '/')) {
    return false;
  }
  const std::optional<fs::path> host = HostPath(path);
  return host && IsRegularFile(*host);
}

bool NativeFileSystem::DirectoryExists(const std::string& path) {
  const std::optional<fs::path> host = HostPath(path);
  return host && IsDirectory(*host);
}

bool NativeFileSystem::ForceDirectories(const std::string& path) {
  TWindowsPath parsed;
  if (!ParseWindowsPath(path, parsed)) return false;
  fs::path host = root_ / std::string(1, parsed.Drive);
  if (!IsDirectory(host)) return false;
  for (const std::string& name : parsed.Components) {
    std::optional<fs::path> next = FindEntry(host, name);
    if (next) {
      host = std::move(*next);
    } else {
      host /= name;
      if (::mkdir(host.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
    if (!IsDirectory(host)) return false;
  }
  return true;
}

std::vector<TFileInfo> NativeFileSystem::ListFolder(const std::string& folder) {
  std::vector<TFileInfo> entries;
  const std::optional<fs::path> host = HostPath(folder);
  if (!host || !IsDirectory(*host)) return entries;
  std::error_code ec;
  fs::directory_iterator it(*host, ec);
  if (ec) return entries;
  for (const fs::directory_entry& entry : it) {
    struct stat info {};
    // A dangling link names nothing Windows would show.
    if (::stat(entry.path().c_str(), &info) != 0) continue;
    TFileInfo file;
    file.Name = entry.path().filename().string();
    file.IsDirectory = S_ISDIR(info.st_mode);
    file.Size = file.IsDirectory ? 0 : static_cast<std::uint64_t>(info.st_size);
    file.ModifiedTime = static_cast<std::int64_t>(info.st_mtime);
    file.Attributes = file.IsDirectory ? kAttributeDirectory : kAttributeNormal;
    entries.push_back(std::move(file));
  }
  return entries;
}

bool NativeFileSystem::RemoveFile(const std::string& path) {
  const std::optional<fs::path> host = HostPath(path);
  if (!host || !IsRegularFile(*host)) return false;
  // Windows refuses to delete a file that any handle holds open.
  FileDescriptor fd(::open(host->c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid() || !TryLock(fd.get(), LOCK_EX)) return false;
  return ::unlink(host->c_str()) == 0;
}

bool NativeFileSystem::MoveFileOver(const std::string& from,
                                   const std::string& to) {
  const std::optional<fs::path> source = HostPath(from);
  if (!source || !IsRegularFile(*source)) return false;
  // The target keeps the spelling it has when it exists (Windows ignores
  // letter case); a new one is made in its folder.
  std::optional<fs::path> target = HostPath(to);
  if (!target) {
    TWindowsPath parsed;
    if (!ParseWindowsPath(to, parsed) || parsed.Components.empty()) return false;
    const std::string name = parsed.Components.back();
    parsed.Components.pop_back();
    std::string folder = std::string(1, parsed.Drive) + ":\\";
    for (const std::string& part : parsed.Components) folder += part + "\\";
    const std::optional<fs::path> host = HostPath(folder);
    if (!host || !IsDirectory(*host)) return false;
    target = *host / name;
  } else if (IsDirectory(*target)) {
    return false;
  }
  return ::rename(source->c_str(), target->c_str()) == 0;
}

bool NativeFileSystem::ReadWholeFile(const std::string& path,
                                     std::string& bytes) {
  const std::optional<fs::path> host = HostPath(path);
  if (!host || !IsRegularFile(*host)) return false;
  FileDescriptor fd(::open(host->c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid() || !TryLock(fd.get(), LOCK_SH)) return false;
  std::string content;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;
    content.append(buffer, static_cast<std::size_t>(n));
  }
  bytes = std::move(content);
  return true;
}

std::unique_ptr<TWritableFile> NativeFileSystem::CreateNewFile(
    const std::string& path, bool exclusive) {
  TWindowsPath parsed;
  if (!ParseWindowsPath(path, parsed) || parsed.Components.empty()) {
    return nullptr;
  }
  const std::string name = parsed.Components.back();
  parsed.Components.pop_back();
  std::string folder = std::string(1, parsed.Drive) + ":\\";
  for (const std::string& part : parsed.Components) folder += part + "\\";
  const std::optional<fs::path> host = HostPath(folder);
  if (!host || !IsDirectory(*host)) return nullptr;
  // Another letter case of the same name is the same file on Windows.
  if (FindEntry(*host, name)) return nullptr;
  const fs::path file = *host / name;
  FileDescriptor fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                           0666));
  if (!fd.valid()) return nullptr;
  if (!TryLock(fd.get(), exclusive ? LOCK_EX : LOCK_SH)) return nullptr;
  return std::make_unique<NativeWritableFile>(fd.release());
}

std::unique_ptr<TWritableFile> NativeFileSystem::OpenForAppend(
    const std::string& path) {
  const std::optional<fs::path> host = HostPath(path);
  if (!host || !IsRegularFile(*host)) return nullptr;
  FileDescriptor fd(::open(host->c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
  if (!fd.valid() || !TryLock(fd.get(), LOCK_SH)) return nullptr;
  return std::make_unique<NativeWritableFile>(fd.release());
}

std::string NativeFileSystem::ShortPathName(const std::string& path) {
  // A host folder has no 8.3 names; the long form is the only form.
  return path;
}

}  // namespace tidewell
