// The settings window's check boxes as CleanupSettings.ini keeps them, and the
// scan categories they select. The window, the cleanup window and the console
// front end all go through these, so that they agree on what a file means.
#pragma once

#include <cstdint>
#include <string>

#include "settings/SettingsFile.h"

namespace tidewell {

inline constexpr const char* kCleanupSettingsStore = "CleanupSettings";
inline constexpr const char* kCleanupSettingsSection = "frmCleanupSettings";

// The ten check states; every box is ticked until a file says otherwise.
struct TCleanupChecks {
  bool chkAPPPath = true;
  bool chkClassesSection = true;
  bool chkClearFileList = true;
  bool chkFonts = true;
  bool chkHelp = true;
  bool chkInvalidFileAssociations = true;
  bool chkSharedDLL = true;
  bool chkSounds = true;
  bool chkWinStartup = true;
  // The caption box of "Clear Software Section": unticked, none of the seven
  // boxes inside selects anything, whatever their own ticks.
  bool gbClearSoftware = true;
};

// An empty store for CleanupSettings.ini.
TSettingsFile MakeCleanupSettingsStore();

// Writes the ten lines, in the file's order, into `store`.
void StoreCleanupChecks(const TCleanupChecks& checks, TSettingsFile& store);
// The check states a store holds; a line that is missing keeps the default.
// False, with `error` naming the line, when one of the ten holds a value that
// is not True or False.
bool ReadCleanupChecks(const TSettingsFile& store, TCleanupChecks& checks,
                       std::string& error);

// The windows' reading: each of the ten lines on its own, a missing or
// garbled one keeping its default, so that one bad line costs no other.
TCleanupChecks ReadCleanupChecksLeniently(const TSettingsFile& store);

// The engine's Categories for these check states: the sum of the selected
// flags, nothing added.
std::uint16_t CategoriesOf(const TCleanupChecks& checks);

}  // namespace tidewell
