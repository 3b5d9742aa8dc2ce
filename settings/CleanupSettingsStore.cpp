#include "settings/CleanupSettingsStore.h"

#include <array>
#include <utility>

#include "scan/RegistryWork.h"

namespace tidewell {
namespace {

using TCheckMember = bool TCleanupChecks::*;

// The properties in the order the file lists them.
const std::array<std::pair<const char*, TCheckMember>, 10> kProperties = {{
    {"chkAPPPath.Checked", &TCleanupChecks::chkAPPPath},
    {"chkClassesSection.Checked", &TCleanupChecks::chkClassesSection},
    {"chkClearFileList.Checked", &TCleanupChecks::chkClearFileList},
    {"chkFonts.Checked", &TCleanupChecks::chkFonts},
    {"chkHelp.Checked", &TCleanupChecks::chkHelp},
    {"chkInvalidFileAssociations.Checked", &TCleanupChecks::chkInvalidFileAssociations},
    {"chkSharedDLL.Checked", &TCleanupChecks::chkSharedDLL},
    {"chkSounds.Checked", &TCleanupChecks::chkSounds},
    {"chkWinStartup.Checked", &TCleanupChecks::chkWinStartup},
    {"gbClearSoftware.CheckBoxChecked", &TCleanupChecks::gbClearSoftware},
}};

}  // namespace

TSettingsFile MakeCleanupSettingsStore() {
  return TSettingsFile(kCleanupSettingsStore, kCleanupSettingsSection);
}

void StoreCleanupChecks(const TCleanupChecks& checks, TSettingsFile& store) {
  for (const auto& [name, member] : kProperties) store.WriteBool(name, checks.*member);
}

bool ReadCleanupChecks(const TSettingsFile& store, TCleanupChecks& checks,
                       std::string& error) {
  TCleanupChecks read;
  for (const auto& [name, member] : kProperties) {
    const TSettingsValue* value = store.Find(name);
    if (value == nullptr) continue;
    if (value->Kind != TSettingsValue::TKind::YesNo) {
      error = std::string("\"") + name + "\" must be True or False";
      return false;
    }
    read.*member = value->Data == "True";
  }
  checks = read;
  return true;
}

TCleanupChecks ReadCleanupChecksLeniently(const TSettingsFile& store) {
  TCleanupChecks checks;
  for (const auto& [name, member] : kProperties) {
    checks.*member = store.ReadBool(name, checks.*member);
  }
  return checks;
}

std::uint16_t CategoriesOf(const TCleanupChecks& checks) {
  std::uint16_t categories = 0;
  if (checks.chkClassesSection) categories |= cfClassesSection;
  if (checks.chkClearFileList) categories |= cfFileList;
  if (checks.gbClearSoftware) {
    if (checks.chkSharedDLL) categories |= cfSharedDlls;
    if (checks.chkInvalidFileAssociations) categories |= cfFileAssociations;
    if (checks.chkWinStartup) categories |= cfStartupRun;
    if (checks.chkAPPPath) categories |= cfAppPaths;
    if (checks.chkHelp) categories |= cfHelp;
    if (checks.chkFonts) categories |= cfFonts;
    if (checks.chkSounds) categories |= cfSounds;
  }
  return categories;
}

}  // namespace tidewell
