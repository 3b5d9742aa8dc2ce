// The character tests that path and command-line code asks again and again,
// for 8-bit and UTF-16 text alike.
#pragma once

#include <string>

namespace tidewell {

// A folder separator of a Windows path: backslash or slash.
template <typename Char>
constexpr bool IsPathSeparator(Char c) {
  return c == Char('\\') || c == Char('/');
}

// A-Z or a-z only: drive letters and the like, whatever the locale.
template <typename Char>
constexpr bool IsAsciiLetter(Char c) {
  return (c >= Char('a') && c <= Char('z')) || (c >= Char('A') && c <= Char('Z'));
}

// A-Z lowered, any other byte as it is: how the registry folds the letters
// of a name in ASCII.
constexpr char FoldedAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether every byte of `text` is ASCII.
inline bool IsAscii(const std::string& text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace tidewell
