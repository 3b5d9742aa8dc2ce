#include "scan/ExcludedKeys.h"

#include "platform/TextEncoding.h"

namespace tidewell {

bool IsExcludedKey(const std::vector<std::string>& excludedList,
                   const std::string& keyText) {
  for (const std::string& entry : excludedList) {
    // An empty text occurs in every text; an empty line of the file must not
    // hide everything.
    if (entry.empty()) continue;
    if (NamesEqual(entry, keyText)) return true;
    if (keyText.find(entry) != std::string::npos) return true;
  }
  return false;
}

}  // namespace tidewell
