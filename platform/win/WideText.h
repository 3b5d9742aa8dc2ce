// UTF-8 to and from the wchar_t strings of the W APIs: the one conversion at
// the Win32 boundary. Lossless both ways (see TextEncoding.h): a name with an
// unpaired surrogate comes back as it went in.
#pragma once

#include <cstddef>
#include <string>

#include "platform/TextEncoding.h"

namespace tidewell {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the W APIs take UTF-16");

inline std::wstring WideText(const std::string& text) {
  const std::u16string utf16 = Utf8ToUtf16(text);
  return std::wstring(utf16.begin(), utf16.end());
}

inline std::string NarrowText(const wchar_t* text, std::size_t length) {
  return Utf16ToUtf8(std::u16string(text, text + length));
}

inline std::string NarrowText(const std::wstring& text) {
  return NarrowText(text.data(), text.size());
}

}  // namespace tidewell
