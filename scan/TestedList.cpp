#include "scan/TestedList.h"

#include <algorithm>
#include <utility>

namespace tidewell {
namespace {

const char* Outcome(bool found) { return found ? ": found" : ": missing"; }

}  // namespace

void TTestedList::File(const std::string& path, bool found) {
  Add("file " + path + Outcome(found));
}

void TTestedList::Folder(const std::string& path, bool found) {
  Add("folder " + path + Outcome(found));
}

void TTestedList::Searched(const std::string& folder, bool found) {
  Add("searched " + folder + Outcome(found));
}

void TTestedList::Key(TRootKey root, const std::string& path, bool found,
                      const std::string& view) {
  // Checks build paths with a leading or trailing backslash; the key they
  // name is shown once, without either.
  const std::size_t begin = path.find_first_not_of('\\');
  const std::size_t end = path.find_last_not_of('\\');
  const std::string inner =
      begin == std::string::npos ? "" : path.substr(begin, end - begin + 1);
  Add("key " + RootKeyName(root) + (inner.empty() ? "" : "\\" + inner) +
      (view.empty() ? "" : " in the " + view) + Outcome(found));
}

void TTestedList::Add(const std::string& line) {
  if (std::find(lines_.begin(), lines_.end(), line) == lines_.end()) {
    lines_.push_back(line);
  }
}

std::vector<std::string> TTestedList::Take() {
  std::vector<std::string> lines = std::move(lines_);
  lines_.clear();
  return lines;
}

}  // namespace tidewell
