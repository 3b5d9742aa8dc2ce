#include "app/MainWindowTexts.h"

#include <stdexcept>

namespace tidewell {

std::string MainCaption(const std::string& productName,
                        const std::string& fileVersion) {
  return "  " + productName + " " + fileVersion;
}

namespace {

// The captions carry trailing spaces so that the pictures drawn right of the
// text line up.
constexpr const char* kBackupHelp =
    "Before starting the optimization take a backup copy of your egistry.\r\n"
    "\r\n"
    "To restore the registry go to C:\\Program Files\\tdw\\registrybackups and "
    "double-click the newest backup file.\r\n"
    "\r\n"
    "Backup files are named after the date and time of backup in the form of "
    "yyyymmddhhmmss.reg\r\n"
    "\r\n"
    "yyyy: Year\r\n"
    "mm: Month\r\n"
    "dd: day\r\n"
    "hh: Hour\r\n"
    "mm: Minute\r\n"
    "ss: Second";

const std::array<TMainButtonText, 7> kButtons = {{
    {TMainButton::RegistryBackup, "btnRegistryBackup", "Registry Backup    ",
     kBackupHelp, ""},
    {TMainButton::RegistryCleanup, "btnRegistryCleanup", "Registry Cleanup   ",
     "Scan the registry database for invalid entries. Remember to restart "
     "your PC after cleanups.",
     ""},
    {TMainButton::RegistryDefrag, "btnRegistryDefrag", "Registry Defrag    ",
     "After cleanups followed by a restart you should defrag the registry to "
     "further enhance the performance of your computer.",
     "Compress the registry"},
    {TMainButton::Autorun, "btnAutorun", "Auto Run           ",
     "This will do all of the backup, cleanup and defrag tasks automatically "
     "without any user intervention.",
     ""},
    {TMainButton::UndoCleanups, "btnUndoCleanups", "Undo Cleanups      ",
     "If after cleanups you notice any misbehavior click this button.", ""},
    {TMainButton::Help, "btnHelp", "Help && support     ",
     "What is registry? How does this program speed up your computer?\r\n"
     "and other questions you might have.",
     ""},
    {TMainButton::Exit, "btnExit", "Exit               ", "", ""},
}};

}  // namespace

const std::array<TMainButtonText, 7>& MainButtonTexts() { return kButtons; }

const TMainButtonText& MainButtonText(TMainButton button) {
  for (const TMainButtonText& text : kButtons) {
    if (text.Button == button) return text;
  }
  throw std::out_of_range("unknown launcher button");
}

const char* WelcomeText() {
  return "Welcome to Palvorin Tidewell!\r\n"
         "\r\n"
         "For help click the question mark below and then click anywhere on "
         "the window.";
}

const char* HintButtonHelpText() {
  return "For help click me, then click anywhere on the window.";
}

}  // namespace tidewell
