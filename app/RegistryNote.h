// The program's note of where it lives, for other programs and the uninstaller:
// HKEY_CURRENT_USER\Software\Palvorin\TDW, string value "Path", the short (8.3)
// form of the program file's path. Written when the main window is created and
// again when it closes (in case something removed it meanwhile).
#pragma once

#include <string>

#include "registry/RegistryStore.h"

namespace tidewell {

inline constexpr const char* kRegistryNoteKey = "Software\\Palvorin\\TDW";
inline constexpr const char* kRegistryNoteValue = "Path";

// At creation: through the stand-alone string write, which takes key and value
// as one text. False when the registry refused.
bool WriteRegistryNote(RegistryStore& store, const std::string& shortPath);

// At close: through a registry object, creating the key when needed. False
// when the key cannot be opened; a refused write throws ERegistryException.
bool WriteRegistryNoteOnClose(RegistryStore& store,
                              const std::string& shortPath);

}  // namespace tidewell
