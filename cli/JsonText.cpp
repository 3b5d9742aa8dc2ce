#include "cli/JsonText.h"

#include <cstdint>
#include <cstdio>

namespace tidewell {
namespace {

std::string UnicodeEscape(std::uint32_t unit) {
  char escaped[8];
  std::snprintf(escaped, sizeof escaped, "\\u%.4X", static_cast<unsigned>(unit));
  return escaped;
}

// The length of the UTF-8 sequence at `at` and its code point; 0 when the
// bytes there are not a well-formed sequence. Surrogates count as well-formed
// here; the caller escapes them.
std::size_t DecodeUtf8(const std::string& text, std::size_t at,
                       std::uint32_t& codePoint) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  std::uint32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, minimum = 0x80, codePoint = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, minimum = 0x800, codePoint = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, minimum = 0x10000, codePoint = lead & 0x07u;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0u) != 0x80u) return 0;
    codePoint = (codePoint << 6) | (next & 0x3Fu);
  }
  if (codePoint < minimum || codePoint > 0x10FFFF) return 0;
  return length;
}

}  // namespace

std::string JsonString(const std::string& text) {
  std::string json = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      switch (byte) {
        case '"': json += "\\\""; break;
        case '\\': json += "\\\\"; break;
        case '\b': json += "\\b"; break;
        case '\f': json += "\\f"; break;
        case '\n': json += "\\n"; break;
        case '\r': json += "\\r"; break;
        case '\t': json += "\\t"; break;
        default:
          json += byte < 0x20 ? UnicodeEscape(byte) : std::string(1, text[i]);
      }
      ++i;
      continue;
    }
    std::uint32_t codePoint = 0;
    const std::size_t length = DecodeUtf8(text, i, codePoint);
    if (length == 0) {
      json += "\\uFFFD";
      ++i;
    } else if (codePoint >= 0xD800 && codePoint <= 0xDFFF) {
      json += UnicodeEscape(codePoint);
      i += length;
    } else {
      json.append(text, i, length);
      i += length;
    }
  }
  return json + "\"";
}

}  // namespace tidewell
