#include "cli/CategoryList.h"

#include <array>
#include <utility>

#include "platform/TextEncoding.h"
#include "scan/RegistryWork.h"

namespace tidewell {
namespace {

const std::array<std::pair<const char*, std::uint16_t>, 9> kCategories = {{
    {"SharedDlls", cfSharedDlls},
    {"FileAssociations", cfFileAssociations},
    {"StartupRun", cfStartupRun},
    {"AppPaths", cfAppPaths},
    {"Help", cfHelp},
    {"Fonts", cfFonts},
    {"Sounds", cfSounds},
    {"ClassesSection", cfClassesSection},
    {"FileList", cfFileList},
}};

std::string KnownNames() {
  std::string names;
  for (const auto& [name, flag] : kCategories) names += std::string(name) + ", ";
  return names + "all";
}

}  // namespace

std::uint16_t AllCategories() {
  std::uint16_t all = 0;
  for (const auto& category : kCategories) all |= category.second;
  return all;
}

bool ParseCategoryList(const std::string& list, std::uint16_t& categories,
                       std::string& error) {
  std::uint16_t chosen = 0;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = list.find(',', start);
    const std::string name = list.substr(start, comma - start);
    if (name.empty()) {
      error = "empty category name in \"" + list + "\" (known: " + KnownNames() + ")";
      return false;
    }
    bool known = NamesEqual(name, "all");
    if (known) chosen |= AllCategories();
    for (const auto& [categoryName, flag] : kCategories) {
      if (NamesEqual(name, categoryName)) {
        chosen |= flag;
        known = true;
      }
    }
    if (!known) {
      error = "unknown category \"" + name + "\" (known: " + KnownNames() + ")";
      return false;
    }
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  categories = chosen;
  return true;
}

std::string CategoryListText(std::uint16_t categories) {
  std::string text;
  for (const auto& [name, flag] : kCategories) {
    if ((categories & flag) == 0) continue;
    if (!text.empty()) text += ',';
    text += name;
  }
  return text.empty() ? "none" : text;
}

}  // namespace tidewell
