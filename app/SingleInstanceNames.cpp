#include "app/SingleInstanceNames.h"

#include <algorithm>

namespace tidewell {

std::string OneInstanceBaseName(const std::string& applicationTitle,
                                const std::string& identifier) {
  std::string base = applicationTitle + identifier + ".OneInstance.";
  std::replace(base.begin(), base.end(), '\\', '/');
  return base;
}

std::string CriticalSectionMutexName(const std::string& baseName) {
  return baseName + "CriticalSection";
}

std::string DefaultMutexName(const std::string& baseName) {
  return baseName + "Default";
}

}  // namespace tidewell
