#include "app/StartupPrivileges.h"

#include <exception>

namespace tidewell {

int EnableStartupPrivileges(
    const std::function<void(const std::string& privilege)>& enable) {
  int enabled = 0;
  for (const char* privilege : kStartupPrivileges) {
    try {
      enable(privilege);
    } catch (const std::exception&) {
      break;
    }
    ++enabled;
  }
  return enabled;
}

}  // namespace tidewell
