#include "scan/FileRefText.h"

namespace tidewell {

namespace {

char LowerAsciiChar(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Where `pattern` (already lower case) next occurs in `text` from `from`,
// ASCII letters compared without case. Searches without copying the text:
// the file list runs every string value of the registry through here.
std::size_t FindIgnoringCase(const std::string& text,
                             const std::string& lowerPattern, std::size_t from) {
  const std::size_t size = lowerPattern.size();
  if (size > text.size()) return std::string::npos;
  for (std::size_t at = from; at + size <= text.size(); ++at) {
    std::size_t i = 0;
    while (i < size && LowerAsciiChar(text[at + i]) == lowerPattern[i]) ++i;
    if (i == size) return at;
  }
  return std::string::npos;
}

}  // namespace

std::string LowerAscii(const std::string& text) {
  std::string lower = text;
  for (char& c : lower) c = LowerAsciiChar(c);
  return lower;
}

std::string ReplaceIgnoringCase(const std::string& text,
                                const std::string& pattern,
                                const std::string& replacement,
                                bool firstOnly) {
  if (pattern.empty()) return text;
  const std::string lowerPattern = LowerAscii(pattern);
  std::size_t at = FindIgnoringCase(text, lowerPattern, 0);
  if (at == std::string::npos) return text;
  std::string result;
  std::size_t from = 0;
  while (at != std::string::npos) {
    result.append(text, from, at - from);
    result += replacement;
    from = at + pattern.size();
    if (firstOnly) break;
    at = FindIgnoringCase(text, lowerPattern, from);
  }
  result.append(text, from, std::string::npos);
  return result;
}

std::size_t FindDriveMark(const std::string& text, std::size_t from) {
  return text.find(":\\", from);
}

std::string FolderPart(const std::string& text) {
  const std::size_t last = text.find_last_of("\\:");
  return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

bool HasFolderPart(const std::string& text) {
  return text.find_first_of("\\:") != std::string::npos;
}

std::string StripTypeLibIndex(const std::string& path) {
  const std::size_t lastBackslash = path.rfind('\\');
  if (lastBackslash == std::string::npos) return path;
  const std::string head = path.substr(0, lastBackslash);
  const std::size_t dot = head.rfind('.');
  const std::size_t nameStart = head.find_last_of("\\:");
  if (dot == std::string::npos ||
      (nameStart != std::string::npos && dot < nameStart)) {
    return path;
  }
  const std::string extension = LowerAscii(head.substr(dot));
  if (extension == ".exe" || extension == ".dll" || extension == ".tlb" ||
      extension == ".olb") {
    return head;
  }
  return path;
}

std::string StripResourceIndex(const std::string& text) {
  const std::size_t comma = text.rfind(',');
  if (comma == std::string::npos || comma == 0) return text;
  std::size_t digits = comma + 1;
  if (digits < text.size() && text[digits] == '-') ++digits;
  if (digits == text.size()) return text;
  for (std::size_t at = digits; at < text.size(); ++at) {
    if (text[at] < '0' || text[at] > '9') return text;
  }
  return TrimText(text.substr(0, comma));
}

bool LooksLikeLocalPath(const std::string& text) {
  const std::size_t mark = FindDriveMark(text);
  if (mark == std::string::npos || mark == 0) return false;
  if (FindDriveMark(text, mark + 1) != std::string::npos) return false;
  const char drive = text[mark - 1];
  const char upper = (drive >= 'a' && drive <= 'z')
                         ? static_cast<char>(drive - ('a' - 'A'))
                         : drive;
  return upper >= 'C' && upper <= 'Z';
}

}  // namespace tidewell
