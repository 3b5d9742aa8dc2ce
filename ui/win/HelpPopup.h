// The "What's This?" pop-up: a control's help text in a small bordered window
// at the mouse pointer. It goes away at the next click or key press.
#pragma once

#include <windows.h>

#include <string>

namespace tidewell {

// The pop-up's window class; its window text is the help text.
inline constexpr const wchar_t* kHelpPopupClass = L"TidewellHelpPopup";

inline constexpr int kHelpPopupTextWidth = 320;

// Shows the text near `at` (screen coordinates) over `owner`, wrapped at
// `textWidth` pixels.
void ShowHelpPopup(HWND owner, const std::string& text, POINT at,
                   int textWidth = kHelpPopupTextWidth);

}  // namespace tidewell
