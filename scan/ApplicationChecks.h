// The "Application Paths" category: the registered program paths, then the
// uninstall entries and the cached entries of the software control panel.
// Every problem names a whole key ("Application does not exists"), so fixing
// removes the entry.
//
// Neither check catches a failure (a value of a type it cannot read): it ends
// the whole scan.
#pragma once

#include "scan/FileReferences.h"
#include "scan/RegistryWork.h"

namespace tidewell {

// Each App Paths entry must name a program file that exists, looked for in the
// entry's own "Path" folders first when it is a bare name. Status every fifth
// entry, progress after each; a stop request ends it before the next entry.
void CheckAppPaths(TRegistryCheckThread& engine, TFileReferences& refs);

// Each Uninstall entry that is not a system component and has no subkeys must
// hold something and name an uninstall program that exists; each ARPCache
// entry must have an Uninstall entry of the same name. No status and no
// progress; a stop request is noticed only in the ARPCache walk.
void CheckUninstall(TRegistryCheckThread& engine, TFileReferences& refs);

}  // namespace tidewell
