#include "FakeFileSystem.h"

#include <algorithm>

namespace tidewell::testing {

class FakeFileSystem::File : public TWritableFile {
 public:
  File(FakeFileSystem& owner, std::string key, bool exclusive)
      : owner_(owner), key_(std::move(key)), exclusive_(exclusive) {
    if (exclusive_) owner_.locked_.insert(key_);
  }
  ~File() override {
    if (exclusive_) owner_.locked_.erase(key_);
  }

  bool Write(const std::string& bytes) override {
    std::string& content = owner_.Files[key_];
    if (owner_.WriteBudget < 0) {
      content += bytes;
      return true;
    }
    const auto budget = static_cast<std::size_t>(owner_.WriteBudget);
    const std::size_t taken = std::min(budget, bytes.size());
    content += bytes.substr(0, taken);
    owner_.WriteBudget -= static_cast<long long>(taken);
    return taken == bytes.size();
  }

  bool Resize(std::uint64_t size) override {
    if (owner_.FailResize) return false;
    owner_.Files[key_].resize(size);
    return true;
  }

  bool Flush() override {
    if (owner_.FailFlush) return false;
    owner_.FlushedFiles.push_back(key_);
    return true;
  }

 private:
  FakeFileSystem& owner_;
  std::string key_;
  bool exclusive_;
};

std::string FakeFileSystem::Normal(const std::string& path) {
  std::string key = path;
  for (char& c : key) {
    if (c == '/') c = '\\';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  while (key.size() > 3 && key.back() == '\\') key.pop_back();
  return key;
}

bool FakeFileSystem::FileExists(const std::string& path) {
  return Files.count(Normal(path)) != 0;
}

bool FakeFileSystem::DirectoryExists(const std::string& path) {
  return Folders.count(Normal(path)) != 0;
}

bool FakeFileSystem::ForceDirectories(const std::string& path) {
  if (FailCreateFolders) return false;
  std::string key = Normal(path);
  while (!key.empty()) {
    Folders.insert(key);
    const std::size_t slash = key.find_last_of('\\');
    if (slash == std::string::npos) break;
    key.resize(slash);
  }
  return true;
}

std::vector<TFileInfo> FakeFileSystem::ListFolder(const std::string& folder) {
  std::vector<TFileInfo> entries;
  const std::string prefix = Normal(folder) + "\\";
  for (const auto& [key, content] : Files) {
    if (key.rfind(prefix, 0) != 0 ||
        key.find('\\', prefix.size()) != std::string::npos) {
      continue;
    }
    TFileInfo info;
    const auto spelt = spelling_.find(key);
    info.Name = spelt != spelling_.end() ? spelt->second : key.substr(prefix.size());
    info.Size = content.size();
    const auto time = ModifiedTimes.find(key);
    if (time != ModifiedTimes.end()) info.ModifiedTime = time->second;
    entries.push_back(info);
  }
  return entries;
}

bool FakeFileSystem::RemoveFile(const std::string& path) {
  const std::string key = Normal(path);
  if (locked_.count(key) != 0) return false;
  spelling_.erase(key);
  ModifiedTimes.erase(key);
  return Files.erase(key) != 0;
}

bool FakeFileSystem::MoveFileOver(const std::string& from, const std::string& to) {
  const std::string source = Normal(from);
  const std::string target = Normal(to);
  const auto found = Files.find(source);
  if (found == Files.end() || locked_.count(source) != 0 ||
      locked_.count(target) != 0) {
    return false;
  }
  std::string content = found->second;
  Files.erase(found);
  Files[target] = std::move(content);
  return true;
}

bool FakeFileSystem::ReadWholeFile(const std::string& path,
                                   std::string& bytes) {
  const std::string key = Normal(path);
  const auto found = Files.find(key);
  if (FailReads || found == Files.end() || locked_.count(key) != 0) {
    return false;
  }
  bytes = found->second;
  return true;
}

std::unique_ptr<TWritableFile> FakeFileSystem::CreateNewFile(
    const std::string& path, bool exclusive) {
  const std::string key = Normal(path);
  const std::size_t slash = key.find_last_of('\\');
  if (FailCreateFiles || Files.count(key) != 0 ||
      (slash != std::string::npos && !DirectoryExists(key.substr(0, slash)))) {
    return nullptr;
  }
  Files[key];
  spelling_[key] = path.substr(path.find_last_of("\\/") + 1);
  ModifiedTimes[key] = CreationTime;
  return std::make_unique<File>(*this, key, exclusive);
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& content,
                             std::int64_t modifiedTime) {
  const std::string key = Normal(path);
  const std::size_t slash = key.find_last_of('\\');
  if (slash != std::string::npos) ForceDirectories(key.substr(0, slash));
  Files[key] = content;
  spelling_[key] = path.substr(path.find_last_of("\\/") + 1);
  ModifiedTimes[key] = modifiedTime;
}

std::unique_ptr<TWritableFile> FakeFileSystem::OpenForAppend(
    const std::string& path) {
  const std::string key = Normal(path);
  if (Files.count(key) == 0 || locked_.count(key) != 0) return nullptr;
  return std::make_unique<File>(*this, key, false);
}

std::string FakeFileSystem::Content(const std::string& path) const {
  const auto found = Files.find(Normal(path));
  return found == Files.end() ? std::string() : found->second;
}

bool FakeFileSystem::IsLocked(const std::string& path) const {
  return locked_.count(Normal(path)) != 0;
}

}  // namespace tidewell::testing
