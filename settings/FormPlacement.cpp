#include "settings/FormPlacement.h"

#include <vector>

namespace tidewell {

void StoreFormPlacement(const TFormPlacement& placement, TSettingsFile& settings) {
  settings.WriteIntegerList(kFormPlacementName,
                            std::vector<std::int64_t>(placement.begin(), placement.end()));
}

std::optional<TFormPlacement> ReadFormPlacement(const TSettingsFile& settings) {
  const std::vector<std::int64_t> numbers = settings.ReadIntegerList(kFormPlacementName, {});
  if (numbers.size() != 10) return std::nullopt;
  TFormPlacement placement;
  for (std::size_t i = 0; i < placement.size(); ++i) placement[i] = numbers[i];
  if (placement[8] <= placement[6] || placement[9] <= placement[7]) return std::nullopt;
  return placement;
}

}  // namespace tidewell
