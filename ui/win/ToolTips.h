// Tooltips over a window's controls: one tooltip window per form, one tool
// per control, text shown when the pointer rests on the control.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/win/WideText.h"

namespace tidewell {

inline HWND CreateToolTips(HWND owner) {
  return CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP | TTS_NOPREFIX,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

// The tooltip window copies the text.
inline void AddToolTip(HWND toolTips, HWND owner, HWND control, const std::string& text) {
  const std::wstring wide = WideText(text);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<wchar_t*>(wide.c_str());
  SendMessageW(toolTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace tidewell
