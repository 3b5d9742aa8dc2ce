// The "What's This?" pop-up: a control's help text in a small bordered window
// at the mouse pointer. It goes away at the next click or key press.
#pragma once

#include <windows.h>

#include <string>

namespace tidewell {

// The pop-up's window class; its window text is the help text.
inline constexpr const wchar_t* kHelpPopupClass = L"TidewellHelpPopup";

// Shows the text near `at` (screen coordinates) over `owner`.
void ShowHelpPopup(HWND owner, const std::string& text, POINT at);

}  // namespace tidewell
