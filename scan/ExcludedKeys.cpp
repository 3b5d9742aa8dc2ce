#include "scan/ExcludedKeys.h"

#include "platform/TextEncoding.h"

namespace tidewell {

namespace {

// Key names hold no backslash, so two in a row are one separator written
// twice: earlier versions showed file extensions as "HKEY_CLASSES_ROOT\\.dll",
// and lines copied from that must still match the single-backslash form.
std::string WithSingleSeparators(const std::string& text) {
  std::string single;
  single.reserve(text.size());
  for (const char c : text) {
    if (c == '\\' && !single.empty() && single.back() == '\\') continue;
    single += c;
  }
  return single;
}

bool Matches(const std::string& entry, const std::string& keyText) {
  return NamesEqual(entry, keyText) ||
         keyText.find(entry) != std::string::npos;
}

}  // namespace

bool IsExcludedKey(const std::vector<std::string>& excludedList,
                   const std::string& keyText) {
  for (const std::string& entry : excludedList) {
    // An empty text occurs in every text; an empty line of the file must not
    // hide everything.
    if (entry.empty()) continue;
    if (Matches(entry, keyText)) return true;
    const std::string single = WithSingleSeparators(entry);
    if (single != entry && Matches(single, keyText)) return true;
  }
  return false;
}

}  // namespace tidewell
