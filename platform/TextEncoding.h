// UTF-8 inside the program, UTF-16 at the Windows boundary. The conversion is
// lossless both ways: an unpaired surrogate (which the registry and the file
// system allow in names) travels through UTF-8 as its three-byte generalised
// form, and malformed UTF-8 bytes are carried as U+DC80..U+DCFF so that no input
// is silently replaced.
#pragma once

#include <string>

namespace tidewell {

std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& text);

// UTF-16LE bytes of `text` with or without a terminating zero code unit.
std::string Utf16LeBytes(const std::u16string& text, bool terminate);

// Lower- and upper-casing as Windows compares names: ASCII, Latin-1 and the
// other simple one-to-one letter pairs of the Basic Multilingual Plane.
char16_t UpcaseChar(char16_t c);
char16_t DowncaseChar(char16_t c);
std::string UpcaseUtf8(const std::string& text);
std::string DowncaseUtf8(const std::string& text);

// Case-insensitive equality and ordering of names, the registry's way.
bool NamesEqual(const std::string& a, const std::string& b);

// Length in UTF-16 code units, the unit the registry's limits are given in.
std::size_t Utf16Length(const std::string& text);

}  // namespace tidewell
