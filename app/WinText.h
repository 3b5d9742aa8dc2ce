// UTF-8 to and from the wchar_t strings of the W APIs, for the window code.
#pragma once

#include <windows.h>

#include <string>

#include "platform/TextEncoding.h"

namespace tidewell {

inline std::wstring WideText(const std::string& text) {
  const std::u16string wide = Utf8ToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

inline std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(window, text.data(), length + 1)));
  return Utf16ToUtf8(std::u16string(text.begin(), text.end()));
}

}  // namespace tidewell
