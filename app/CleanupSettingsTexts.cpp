#include "app/CleanupSettingsTexts.h"

namespace tidewell {

const char* CleanupBoxCaption(TCleanupBox box) {
  switch (box) {
    case TCleanupBox::ClassesSection: return "Clean Classes Section";
    case TCleanupBox::ClearFileList: return "Clear File List";
    case TCleanupBox::SharedDLL: return "Shared DLLs";
    case TCleanupBox::InvalidFileAssociations: return "Invalid Files Associations";
    case TCleanupBox::WinStartup: return "Windows Startup Run";
    case TCleanupBox::APPPath: return "Application Paths";
    case TCleanupBox::Help: return "Help";
    case TCleanupBox::Fonts: return "Fonts";
    case TCleanupBox::Sounds: return "Sounds";
  }
  return "";
}

const std::vector<std::string>& CleanupInstructionParagraphs() {
  static const std::vector<std::string> paragraphs = {
      "Close all programs, select any number of cleanup options and click Next.",
      "In the next window click Run to start searching for invalid registry entries.",
      "When the search is finished, either delete all of the entries with Delete, "
      "or view them and delete them selectively by a right-click on the list.",
      "After the cleanup, restart the computer. If anything misbehaves, go to the "
      "Undo Cleanups section, restore the registry to its previous state and "
      "deselect the Clear File List option in future cleanups.",
      "Finally, defragment the registry to reduce its size.",
  };
  return paragraphs;
}

const std::vector<std::string>& CleanupInstructionHighlights() {
  static const std::vector<std::string> words = {"Next", "Run", "Delete", "Undo Cleanups",
                                                 "Clear File List"};
  return words;
}

const std::vector<std::string>& ExcludedKeysHelpLines() {
  static const std::vector<std::string> lines = {
      "Click the ellipsis to launch the list of excluded keys and programs.",
      "Tidewell won't mark those as errors after a registry scan.",
      "To exclude any of your programs just add the name of the program (i.e. Office) "
      "to the list. Each line of the list may contain only one name or key.",
      "Also after a registry scan to exclude any key, right-click that key and click "
      "\"Exclude Selected\".",
  };
  return lines;
}

}  // namespace tidewell
