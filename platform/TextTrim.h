// The one trimming rule of the program: what the registry texts, undo files,
// settings files and the excluded-keys list lose at their ends.
#pragma once

#include <string>

namespace tidewell {

// Removes blanks and control characters (everything up to U+0020) at both ends.
std::string TrimText(const std::string& text);

}  // namespace tidewell
