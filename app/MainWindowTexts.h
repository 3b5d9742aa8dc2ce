// The launcher's fixed texts: its caption, its seven buttons with the help
// text each shows in "What's This?" mode, the welcome text and the hint
// button. Kept apart from the window so that the words can be checked without
// Win32.
#pragma once

#include <array>
#include <string>

namespace tidewell {

// The application title, also the title of the program's message boxes.
inline constexpr const char* kApplicationTitle = "Tidewell";

// Two spaces, the product name, one space, the file version.
std::string MainCaption(const std::string& productName,
                        const std::string& fileVersion);

// What each launcher button does when clicked.
enum class TMainButton {
  RegistryBackup,
  RegistryCleanup,
  RegistryDefrag,
  Autorun,
  UndoCleanups,
  Help,
  Exit,
};

struct TMainButtonText {
  TMainButton Button;
  const char* Name;      // the control's name, e.g. "btnRegistryBackup"
  const char* Caption;   // with trailing spaces; "&&" shows as one "&"
  const char* HelpText;  // shown in "What's This?" mode; empty for none
  const char* ShortHelp; // tooltip; empty for none
};

// Top to bottom, as the buttons stand in the window.
const std::array<TMainButtonText, 7>& MainButtonTexts();
const TMainButtonText& MainButtonText(TMainButton button);

// The framed welcome text right of the buttons.
const char* WelcomeText();

// The "What's This?" button btnHint.
inline constexpr const char* kHintButtonName = "btnHint";
const char* HintButtonHelpText();

// The message of a second start.
inline constexpr const char* kAlreadyRunningMessage =
    "The program is already running.";

}  // namespace tidewell
