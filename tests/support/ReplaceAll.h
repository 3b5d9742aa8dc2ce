// Expected texts of the scan tests name their sandbox and test folder by
// placeholders ("$S", "$D"); this fills them in.
#pragma once

#include <string>

namespace tidewell {

inline std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

}  // namespace tidewell
