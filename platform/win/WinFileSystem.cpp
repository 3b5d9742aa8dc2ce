#include "platform/win/WinFileSystem.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "platform/CharKinds.h"
#include "platform/win/ScopedHandle.h"
#include "platform/win/WideText.h"

namespace tidewell {
namespace {

// "X:\..." or a UNC path "\\server\share\..."; anything else would be
// resolved against the process's current folder or drive.
bool IsFullyQualified(const std::wstring& path) {
  if (path.size() >= 3 && path[1] == L':' && IsPathSeparator(path[2])) {
    return IsAsciiLetter(path[0]);
  }
  return path.size() >= 3 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]);
}

DWORD Attributes(const std::string& path) {
  const std::wstring wide = WideText(path);
  if (!IsFullyQualified(wide)) return INVALID_FILE_ATTRIBUTES;
  return ::GetFileAttributesW(wide.c_str());
}

class WinWritableFile final : public TWritableFile {
 public:
  // `append`: every write goes to the end of the file, wherever others
  // sharing it have left it.
  WinWritableFile(TScopedHandle file, bool append)
      : file_(std::move(file)), append_(append) {}
  WinWritableFile(const WinWritableFile&) = delete;
  WinWritableFile& operator=(const WinWritableFile&) = delete;

  bool Write(const std::string& bytes) override {
    if (append_ && !Seek(0, FILE_END)) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
      const std::size_t chunk = std::min<std::size_t>(bytes.size() - done, 1u << 30);
      DWORD written = 0;
      if (!::WriteFile(file_.Get(), bytes.data() + done, static_cast<DWORD>(chunk),
                       &written, nullptr) ||
          written == 0) {
        return false;
      }
      done += written;
    }
    return true;
  }

  bool Flush() override { return ::FlushFileBuffers(file_.Get()) != 0; }

  bool Resize(std::uint64_t size) override {
    return Seek(static_cast<LONGLONG>(size), FILE_BEGIN) &&
           ::SetEndOfFile(file_.Get()) != 0;
  }

 private:
  bool Seek(LONGLONG offset, DWORD from) {
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    return ::SetFilePointerEx(file_.Get(), distance, nullptr, from) != 0;
  }

  TScopedHandle file_;
  bool append_;
};

HANDLE Open(const std::string& path, DWORD access, DWORD share,
            DWORD disposition) {
  const std::wstring wide = WideText(path);
  if (!IsFullyQualified(wide)) return INVALID_HANDLE_VALUE;
  return ::CreateFileW(wide.c_str(), access, share, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// FILETIME counts 100 ns steps from 1601-01-01.
std::int64_t UnixSeconds(const FILETIME& time) {
  const std::uint64_t ticks =
      (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
      time.dwLowDateTime;
  constexpr std::int64_t kTicksFrom1601To1970 = 116444736000000000LL;
  return (static_cast<std::int64_t>(ticks) - kTicksFrom1601To1970) / 10000000;
}

}  // namespace

bool WinFileSystem::FileExists(const std::string& path) {
  // "file.txt\" names a folder, and a file is none, whatever the system call
  // makes of it.
  if (!path.empty() && (path.back() == '\\' || path.back() == '/')) {
    return false;
  }
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool WinFileSystem::DirectoryExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WinFileSystem::ForceDirectories(const std::string& path) {
  std::wstring wide = WideText(path);
  if (!IsFullyQualified(wide)) return false;
  while (!wide.empty() && IsPathSeparator(wide.back())) wide.pop_back();
  // Create each missing level from the top down; the drive or share root
  // (the first separator after "X:" or "\\server\share") always exists.
  const std::size_t start = wide[1] == L':' ? 3 : 2;
  for (std::size_t i = start; i <= wide.size(); ++i) {
    if (i < wide.size() && !IsPathSeparator(wide[i])) continue;
    const std::wstring level = wide.substr(0, i);
    const DWORD attributes = ::GetFileAttributesW(level.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      if (!::CreateDirectoryW(level.c_str(), nullptr) &&
          ::GetLastError() != ERROR_ALREADY_EXISTS) {
        // A UNC server or share name is no folder to create; go on.
        if (wide[1] != L':' && i < wide.size()) continue;
        return false;
      }
    }
  }
  return DirectoryExists(path);
}

std::vector<TFileInfo> WinFileSystem::ListFolder(const std::string& folder) {
  std::vector<TFileInfo> entries;
  std::wstring pattern = WideText(folder);
  if (!IsFullyQualified(pattern)) return entries;
  if (!IsPathSeparator(pattern.back())) pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    TFileInfo entry;
    entry.Name = NarrowText(name.c_str(), name.size());
    entry.IsDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.Size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
                 data.nFileSizeLow;
    entry.ModifiedTime = UnixSeconds(data.ftLastWriteTime);
    entry.Attributes = data.dwFileAttributes;
    entries.push_back(std::move(entry));
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
  return entries;
}

bool WinFileSystem::RemoveFile(const std::string& path) {
  const std::wstring wide = WideText(path);
  return IsFullyQualified(wide) && ::DeleteFileW(wide.c_str()) != 0;
}

bool WinFileSystem::MoveFileOver(const std::string& from, const std::string& to) {
  const std::wstring source = WideText(from);
  const std::wstring target = WideText(to);
  return IsFullyQualified(source) && IsFullyQualified(target) &&
         ::MoveFileExW(source.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool WinFileSystem::ReadWholeFile(const std::string& path, std::string& bytes) {
  const TScopedHandle file(Open(path, GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
  if (!file.IsValid()) return false;
  std::string content;
  char buffer[65536];
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) {
      return false;
    }
    if (read == 0) break;
    content.append(buffer, read);
  }
  bytes = std::move(content);
  return true;
}

std::unique_ptr<TWritableFile> WinFileSystem::CreateNewFile(
    const std::string& path, bool exclusive) {
  const DWORD share = exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
  TScopedHandle file(Open(path, GENERIC_WRITE, share, CREATE_NEW));
  if (!file.IsValid()) return nullptr;
  return std::make_unique<WinWritableFile>(std::move(file), false);
}

std::unique_ptr<TWritableFile> WinFileSystem::OpenForAppend(
    const std::string& path) {
  // Write access as well as append: cutting the file back needs it. Writes
  // still go to the end (see WinWritableFile::Write).
  TScopedHandle file(Open(path, FILE_APPEND_DATA | FILE_WRITE_DATA,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
  if (!file.IsValid()) return nullptr;
  return std::make_unique<WinWritableFile>(std::move(file), true);
}

std::string WinFileSystem::ShortPathName(const std::string& path) {
  const std::wstring wide = WideText(path);
  if (!IsFullyQualified(wide)) return path;
  DWORD size = ::GetShortPathNameW(wide.c_str(), nullptr, 0);
  for (int attempt = 0; size != 0 && attempt < 3; ++attempt) {
    std::wstring buffer(size, L'\0');
    const DWORD length = ::GetShortPathNameW(wide.c_str(), buffer.data(), size);
    if (length == 0) break;
    if (length < size) return NarrowText(buffer.data(), length);
    size = length;  // the path changed between the calls; ask again
  }
  return path;
}

}  // namespace tidewell
