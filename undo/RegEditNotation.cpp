#include "undo/RegEditNotation.h"

#include <cstdio>
#include <limits>

namespace tidewell {
namespace {

// Hex digits only, at least one, and a value no greater than `max`.
bool ParseHexUpTo(const std::string& text, std::uint64_t max,
                  std::uint64_t& value) {
  if (text.empty()) return false;
  std::uint64_t result = 0;
  for (char c : text) {
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else {
      return false;
    }
    if (result > (max - digit) / 16) return false;
    result = result * 16 + digit;
  }
  value = result;
  return true;
}

}  // namespace

std::string EscapeRegEditText(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size() + 8);
  for (char c : text) {
    if (c == '\\' || c == '"') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

std::string UnescapeRegEditText(const std::string& text) {
  std::string plain;
  plain.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() &&
        (text[i + 1] == '\\' || text[i + 1] == '"')) {
      ++i;
    }
    plain += text[i];
  }
  return plain;
}

std::size_t RegEditTextEnd(std::string_view text, std::size_t open) {
  for (std::size_t i = open + 1; i < text.size(); ++i) {
    if (text[i] == '"') return i;
    if (text[i] == '\\' && i + 1 < text.size() &&
        (text[i + 1] == '\\' || text[i + 1] == '"')) {
      ++i;
    }
  }
  return std::string_view::npos;
}

std::string DwordNotation(std::uint32_t value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(value));
  return std::string("dword:") + digits;
}

std::string HexNotationTag(std::uint32_t type) {
  if (type == 3) return "hex:";  // REG_BINARY
  char tag[24];
  std::snprintf(tag, sizeof tag, "hex(%x):", static_cast<unsigned>(type));
  return tag;
}

std::vector<std::string> HexNotationLines(
    const std::string& head, std::size_t headWidth,
    const std::vector<std::uint8_t>& bytes) {
  constexpr std::size_t kMaxLineWidth = 80;
  std::vector<std::string> lines;
  std::string line = head;
  // The width of `line` as the file holds it: only the head can be wider
  // than ASCII.
  std::size_t width = headWidth;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    char pair[4];
    std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned>(bytes[i]));
    line += pair;
    width += 2;
    if (i + 1 == bytes.size()) break;
    line += ',';
    width += 1;
    if (width > kMaxLineWidth) {
      line += '\\';
      lines.push_back(line);
      line = "  ";
      width = 2;
    }
  }
  lines.push_back(line);
  return lines;
}

bool ParseHexNumber(const std::string& text, std::uint32_t& value) {
  std::uint64_t wide;
  if (!ParseHexUpTo(text, 0xFFFFFFFFu, wide)) return false;
  value = static_cast<std::uint32_t>(wide);
  return true;
}

bool ParseHexNumber(const std::string& text, std::uint64_t& value) {
  return ParseHexUpTo(text, std::numeric_limits<std::uint64_t>::max(), value);
}

bool ParseHexBytes(const std::string& text, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    std::uint32_t number;
    if (!ParseHexNumber(text.substr(start, comma - start), number)) {
      return false;
    }
    bytes.push_back(static_cast<std::uint8_t>(number & 0xFF));
    start = comma + 1;
  }
  return true;
}

}  // namespace tidewell
