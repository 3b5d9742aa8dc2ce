// "FormPlacement": where a window stood, as the cleanup and undo windows keep
// it in their settings files: ten whole numbers from GetWindowPlacement, the
// flags, the show state, the minimised position (x, y), the maximised
// position (x, y) and the normal rectangle (left, top, right, bottom).
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "settings/SettingsFile.h"

namespace tidewell {

inline constexpr const char* kFormPlacementName = "FormPlacement";

using TFormPlacement = std::array<std::int64_t, 10>;

void StoreFormPlacement(const TFormPlacement& placement, TSettingsFile& settings);
// Nothing when the file has no placement, or not ten numbers, or a normal
// rectangle with no area: the window then keeps its own.
std::optional<TFormPlacement> ReadFormPlacement(const TSettingsFile& settings);

}  // namespace tidewell
