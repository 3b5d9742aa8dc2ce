#include "scan/FileTestCache.h"

#include <array>
#include <string_view>

#include "platform/CharKinds.h"
#include "platform/WindowsPath.h"

namespace tidewell {
namespace {

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

bool IsPlainAscii(std::string_view name) {
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u > 0x7E) return false;
  }
  return true;
}

// A name Windows takes for a device in any folder, with or without an
// extension ("nul", "com1.txt", "CON .log").
bool IsDeviceName(std::string_view name) {
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  const std::string upper = UpperAscii(stem);
  static constexpr std::array<std::string_view, 7> kDevices = {
      "CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
  for (const std::string_view device : kDevices) {
    if (upper == device) return true;
  }
  return upper.size() == 4 &&
         (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
         upper[3] >= '0' && upper[3] <= '9';
}

// A name that a folder listing shows exactly as Windows finds it.
bool ListingCanAnswer(const std::string& name) {
  if (!IsPlainAscii(name) || name.find('~') != std::string::npos) return false;
  if (name.back() == ' ' || name.back() == '.') return false;
  if (IsDeviceName(name)) return false;
  return UpperAscii(name) != "SYSNATIVE";
}

// The last name of the path as written consists of dots and blanks only
// ("C:\Dir\..."): Windows' reading of it is not one to guess.
bool EndsInDotsOnly(const std::string& path) {
  std::size_t start = path.size();
  while (start > 0 && !IsPathSeparator(path[start - 1])) --start;
  if (start == path.size()) return false;
  return path.find_first_not_of(". ", start) == std::string::npos;
}

}  // namespace

struct TFileTestCache::Folder {
  // Listed: `entries` holds every name. Unknown: the listing came back
  // empty.
  enum class State { Listed, Unknown };
  State state = State::Unknown;
  // Upper-cased name: whether it is a folder.
  std::unordered_map<std::string, bool> entries;
  // Some name is not plain ASCII, so a name not found may still match it.
  bool otherNames = false;
};

TFileTestCache::TFileTestCache(TFileSystem& files, bool countDistinct)
    : files_(files), countDistinct_(countDistinct) {}

TFileTestCache::~TFileTestCache() = default;

bool TFileTestCache::FileExists(const std::string& path) {
  return Test(path, Kind::File);
}

bool TFileTestCache::DirectoryExists(const std::string& path) {
  return Test(path, Kind::Directory);
}

bool TFileTestCache::Test(const std::string& path, Kind kind) {
  ++tests_;
  if (countDistinct_) asked_.insert((kind == Kind::File ? "f" : "d") + path);
  // "file.txt\" names a folder, and a file is none.
  if (kind == Kind::File && !path.empty() && IsPathSeparator(path.back())) {
    return false;
  }
  // Most tests repeat a path already answered (the same libraries are named
  // thousands of times), so the answer for the path as written comes first;
  // only a new path is taken apart for the folder listings.
  auto& answers = kind == Kind::File ? fileAnswers_ : folderAnswers_;
  const auto known = answers.find(path);
  if (known != answers.end()) return known->second;
  const int listed = FromListings(path, kind);
  const bool found =
      listed >= 0 ? listed == 1
                  : kind == Kind::File ? files_.FileExists(path)
                                       : files_.DirectoryExists(path);
  answers.emplace(path, found);
  return found;
}

int TFileTestCache::FromListings(const std::string& path, Kind kind) {
  TWindowsPath parsed;
  if (!ParseWindowsPath(path, parsed) || parsed.Components.empty() ||
      EndsInDotsOnly(path)) {
    return -1;
  }
  for (const std::string& name : parsed.Components) {
    if (!ListingCanAnswer(name)) return -1;
  }
  std::string key(1, static_cast<char>(parsed.Drive - 'a' + 'A'));
  key += ':';
  std::string folderPath = key + '\\';
  Folder* folder = &FolderAt(key, folderPath);
  for (std::size_t i = 0; i < parsed.Components.size(); ++i) {
    if (folder->state == Folder::State::Unknown) return -1;
    const std::string& name = parsed.Components[i];
    const std::string upper = UpperAscii(name);
    const auto entry = folder->entries.find(upper);
    if (entry == folder->entries.end()) return folder->otherNames ? -1 : 0;
    const bool isFolder = entry->second;
    if (i + 1 == parsed.Components.size()) {
      return isFolder == (kind == Kind::Directory) ? 1 : 0;
    }
    // Nothing lies below a file.
    if (!isFolder) return 0;
    key += '\\';
    key += upper;
    folderPath += name;
    folderPath += '\\';
    folder = &FolderAt(key, folderPath);
  }
  return -1;
}

TFileTestCache::Folder& TFileTestCache::FolderAt(const std::string& key,
                                                 const std::string& path) {
  std::unique_ptr<Folder>& slot = folders_[key];
  if (slot) return *slot;
  slot = std::make_unique<Folder>();
  const std::vector<TFileInfo> listing = files_.ListFolder(path);
  slot->state = listing.empty() ? Folder::State::Unknown : Folder::State::Listed;
  slot->entries.reserve(listing.size());
  for (const TFileInfo& entry : listing) {
    if (IsPlainAscii(entry.Name)) {
      slot->entries.emplace(UpperAscii(entry.Name), entry.IsDirectory);
    } else {
      slot->otherNames = true;
    }
  }
  return *slot;
}

TFileTestCounts TFileTestCache::Counts() const {
  TFileTestCounts counts;
  counts.tests = tests_;
  counts.distinctPaths = asked_.size();
  return counts;
}

bool TFileTestCache::ForceDirectories(const std::string& path) {
  return files_.ForceDirectories(path);
}

std::vector<TFileInfo> TFileTestCache::ListFolder(const std::string& folder) {
  return files_.ListFolder(folder);
}

bool TFileTestCache::RemoveFile(const std::string& path) {
  return files_.RemoveFile(path);
}

bool TFileTestCache::MoveFileOver(const std::string& from, const std::string& to) {
  return files_.MoveFileOver(from, to);
}

bool TFileTestCache::ReadWholeFile(const std::string& path, std::string& bytes) {
  return files_.ReadWholeFile(path, bytes);
}

std::unique_ptr<TWritableFile> TFileTestCache::CreateNewFile(const std::string& path,
                                                             bool exclusive) {
  return files_.CreateNewFile(path, exclusive);
}

std::unique_ptr<TWritableFile> TFileTestCache::OpenForAppend(const std::string& path) {
  return files_.OpenForAppend(path);
}

std::string TFileTestCache::ShortPathName(const std::string& path) {
  return files_.ShortPathName(path);
}

}  // namespace tidewell
