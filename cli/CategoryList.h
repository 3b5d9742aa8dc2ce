// The scan categories by name on the command line: the engine's flag names
// without their "cf" prefix, comma-separated, letter case ignored, or "all".
#pragma once

#include <cstdint>
#include <string>

namespace tidewell {

// Every category the engine knows.
std::uint16_t AllCategories();

// The flags a list names. False, with `error` set to a one-line reason, for
// an unknown name or an empty list.
bool ParseCategoryList(const std::string& list, std::uint16_t& categories,
                       std::string& error);

// The names of the set flags, comma-separated, in flag order ("none" for
// the empty set).
std::string CategoryListText(std::uint16_t categories);

}  // namespace tidewell
