// The text of a window or control as UTF-8.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win/WideText.h"

namespace tidewell {

inline std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(window, text.data(), length + 1)));
  return NarrowText(text);
}

}  // namespace tidewell
