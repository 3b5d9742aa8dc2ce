#include "platform/NativeSystemEnvironment.h"

#include "platform/TextEncoding.h"

namespace tidewell {

NativeSystemEnvironment::NativeSystemEnvironment(
    TSpecialFolders folders,
    const std::vector<std::pair<std::string, std::string>>& variables)
    : folders_(std::move(folders)) {
  for (const auto& [name, value] : variables) SetVariable(name, value);
}

void NativeSystemEnvironment::SetVariable(const std::string& name,
                                          const std::string& value) {
  variables_[UpcaseUtf8(name)] = value;
}

void NativeSystemEnvironment::RemoveVariable(const std::string& name) {
  variables_.erase(UpcaseUtf8(name));
}

std::string NativeSystemEnvironment::EnvironmentVariable(
    const std::string& name) {
  const auto it = variables_.find(UpcaseUtf8(name));
  return it == variables_.end() ? std::string() : it->second;
}

std::string NativeSystemEnvironment::ExpandEnvironmentText(
    const std::string& text) {
  return ExpandPlaceholders(text, [this](const std::string& name,
                                         std::string& value) {
    const auto it = variables_.find(UpcaseUtf8(name));
    if (it == variables_.end()) return false;
    value = it->second;
    return true;
  });
}

}  // namespace tidewell
