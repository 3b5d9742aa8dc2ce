// The texts of the cleanup settings window: box captions, the instruction
// text with its highlighted words, and the help of "Excluded Keys".
#pragma once

#include <string>
#include <vector>

#include "app/CleanupSettingsPresenter.h"

namespace tidewell {

inline constexpr const char* kCleanupSettingsCaption = "Registry Cleanup Settings";
inline constexpr const char* kOptionsGroupCaption = "Options";
inline constexpr const char* kClearSoftwareCaption = "Clear Software Section";
inline constexpr const char* kExcludedKeysGroupCaption = "Excluded Keys";
inline constexpr const char* kExcludedKeysButtonCaption = "...";

// "Clean Classes Section", "Clear File List", "Shared DLLs" and so on.
const char* CleanupBoxCaption(TCleanupBox box);

// The five paragraphs of the instruction text, in order.
const std::vector<std::string>& CleanupInstructionParagraphs();
// The words set in bold orange (#F97600), each at its first occurrence with
// this letter case.
const std::vector<std::string>& CleanupInstructionHighlights();
inline constexpr unsigned kHighlightColour = 0xF97600;  // RGB

// The "Excluded Keys" help: a bold title, then its lines.
inline constexpr const char* kExcludedKeysHelpTitle = "Excluded Keys";
const std::vector<std::string>& ExcludedKeysHelpLines();

}  // namespace tidewell
