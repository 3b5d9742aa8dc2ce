#include "platform/WindowsPath.h"

#include "platform/CharKinds.h"
#include "platform/TextEncoding.h"

namespace tidewell {
namespace {

// No file or folder name on a Windows volume is longer.
constexpr std::size_t kMaxNameUnits = 255;

bool HasForbiddenCharacter(const std::string& name) {
  for (const char c : name) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20) return true;
    switch (c) {
      case '<': case '>': case ':': case '"': case '|': case '?': case '*':
        return true;
      default:
        break;
    }
  }
  return false;
}

}  // namespace

bool ParseWindowsPath(const std::string& path, TWindowsPath& parsed) {
  if (path.size() < 3 || !IsAsciiLetter(path[0]) || path[1] != ':' ||
      !IsPathSeparator(path[2])) {
    return false;
  }
  parsed.Drive = static_cast<char>(path[0] | 0x20);
  parsed.Components.clear();

  std::vector<std::string> raw;
  std::string current;
  for (std::size_t i = 3; i < path.size(); ++i) {
    if (IsPathSeparator(path[i])) {
      if (!current.empty()) raw.push_back(std::move(current));
      current.clear();
    } else {
      current += path[i];
    }
  }
  if (!current.empty()) raw.push_back(std::move(current));

  // Windows drops the trailing blanks and dots of the last name only.
  if (!raw.empty() && raw.back() != "." && raw.back() != "..") {
    std::string& last = raw.back();
    while (!last.empty() && (last.back() == ' ' || last.back() == '.')) {
      last.pop_back();
    }
    if (last.empty()) raw.pop_back();
  }

  for (std::string& name : raw) {
    if (name == ".") continue;
    if (name == "..") {
      if (!parsed.Components.empty()) parsed.Components.pop_back();
      continue;
    }
    if (HasForbiddenCharacter(name) || Utf16Length(name) > kMaxNameUnits) {
      return false;
    }
    parsed.Components.push_back(std::move(name));
  }
  return true;
}

}  // namespace tidewell
