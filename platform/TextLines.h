// Splitting the text files a user may edit (undo files, settings, the
// excluded-keys list) into lines the way Windows editors write them.
#pragma once

#include <string>
#include <vector>

namespace tidewell {

// Lines end at CR LF, at a lone CR or at a lone LF; a line end at the very end
// of the text does not start another line.
std::vector<std::string> SplitTextLines(const std::string& text);

}  // namespace tidewell
