#include "undo/RegEditNotation.h"

#include <cstdio>

namespace tidewell {

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
  if (text.empty()) return false;
  std::uint64_t result = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else {
      return false;
    }
    result = result * 16 + static_cast<std::uint64_t>(digit);
    if (result > 0xFFFFFFFFu) return false;
  }
  value = static_cast<std::uint32_t>(result);
  return true;
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
