// The environment seam with values given by its owner: a test (or a tool that
// runs outside Windows) says where each special folder is and which variables
// are set, and may change the variables while the object is in use.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/SystemEnvironment.h"

namespace tidewell {

struct TSpecialFolders {
  std::string WindowsFolder;
  std::string SystemFolder;
  std::string FontsFolder;
  std::string ProgramFilesFolder;
  std::string CommonFilesFolder;
  std::string TempFolder;
  std::string ProgramFileName;
};

// ExpandEnvironmentStrings' rule over any variable lookup: "%NAME%" with a set
// NAME becomes its value and the scan goes on after the closing "%"; an unset
// name is copied with both "%" marks; a "%" without a closing one is copied.
// `lookup` answers false for a variable that is not set.
template <typename Lookup>
std::string ExpandPlaceholders(const std::string& text, Lookup&& lookup) {
  std::string result;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t open = text.find('%', i);
    if (open == std::string::npos) {
      result.append(text, i, std::string::npos);
      break;
    }
    result.append(text, i, open - i);
    const std::size_t close = text.find('%', open + 1);
    if (close == std::string::npos) {
      result.append(text, open, std::string::npos);
      break;
    }
    std::string value;
    if (close > open + 1 && lookup(text.substr(open + 1, close - open - 1), value)) {
      result += value;
    } else {
      result.append(text, open, close - open + 1);
    }
    i = close + 1;
  }
  return result;
}

class NativeSystemEnvironment final : public TSystemEnvironment {
 public:
  NativeSystemEnvironment(
      TSpecialFolders folders,
      const std::vector<std::pair<std::string, std::string>>& variables = {});

  void SetVariable(const std::string& name, const std::string& value);
  void RemoveVariable(const std::string& name);

  std::string EnvironmentVariable(const std::string& name) override;
  std::string ExpandEnvironmentText(const std::string& text) override;
  std::string WindowsFolder() override { return folders_.WindowsFolder; }
  std::string SystemFolder() override { return folders_.SystemFolder; }
  std::string FontsFolder() override { return folders_.FontsFolder; }
  std::string ProgramFilesFolder() override { return folders_.ProgramFilesFolder; }
  std::string CommonFilesFolder() override { return folders_.CommonFilesFolder; }
  std::string TempFolder() override { return folders_.TempFolder; }
  std::string ProgramFileName() override { return folders_.ProgramFileName; }

 private:
  TSpecialFolders folders_;
  // Keyed by the upper-cased name: Windows ignores the case of variable names.
  std::map<std::string, std::string> variables_;
};

}  // namespace tidewell
