#include "scan/EmptyKey.h"

#include <string>
#include <vector>

namespace tidewell {

bool IsEmptyKey(TRegistry& registry) {
  std::vector<TRegValue> values;
  registry.GetValues(values);
  for (const TRegValue& value : values) {
    const TRegDataType type = value.DataType();
    if (type != TRegDataType::rdString && type != TRegDataType::rdExpandString) {
      return false;
    }
    if (!value.Text().empty()) return false;
  }
  return !registry.HasSubKeys();
}

}  // namespace tidewell
