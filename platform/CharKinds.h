// The character tests that path and command-line code asks again and again,
// for 8-bit and UTF-16 text alike.
#pragma once

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

}  // namespace tidewell
