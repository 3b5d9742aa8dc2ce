#include "scan/EmptyKey.h"

#include <string>
#include <vector>

namespace tidewell {

bool IsEmptyKey(TRegistry& registry) {
  std::vector<std::string> names;
  registry.GetValueNames(names);
  for (const std::string& name : names) {
    const TRegDataType type = registry.GetDataType(name);
    if (type != TRegDataType::rdString && type != TRegDataType::rdExpandString) {
      return false;
    }
    if (!registry.ReadString(name).empty()) return false;
  }
  return !registry.HasSubKeys();
}

}  // namespace tidewell
