// The checks a scan runs, one slot per check, filled by whoever assembles the
// scan (the COM and class checks and the software section checks provide
// their functions; tests provide fakes). The engine decides which slots run and
// in which order; an empty slot runs nothing.
//
// A check works through the engine it is given: its Registry, AddRegistryError,
// ShowStatus / ShowProgress, and Terminated(), which it polls to return early.
// What else a check needs (the folder set, the file system) it captures when
// it is made. A failure a check does not catch itself ends the scan.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "registry/RegistryTypes.h"

namespace tidewell {

class TRegistryCheckThread;

// Walks one part of a root below `basePath` ("CLSID\", "", "TypeLib\",
// "Interface\", "\").
using TClassCheck = std::function<void(TRegistryCheckThread& engine,
                                       TRootKey root,
                                       const std::string& basePath)>;
// Walks the registry locations it knows itself.
using TSoftwareCheck = std::function<void(TRegistryCheckThread& engine)>;

struct TScanChecks {
  // Run under cfClassesSection, on HKEY_CLASSES_ROOT.
  TClassCheck CheckCLSIDs;
  TClassCheck CheckClasses;
  TClassCheck CheckTypeLibs;
  TClassCheck CheckInterfaces;
  TClassCheck CheckFileExtensions;
  // Run under the software section flags.
  TSoftwareCheck CheckSharedDLLs;
  TSoftwareCheck CheckStartupRun;
  TSoftwareCheck CheckAppPaths;
  TSoftwareCheck CheckUninstall;
  TSoftwareCheck CheckHelpFiles;
  TSoftwareCheck CheckFonts;
  TSoftwareCheck CheckSounds;
  TSoftwareCheck CheckFileList;

  // Called on the scan thread before the first check of a scan; what it
  // returns is let go when the last check has ended, however the scan ends.
  // The checks keep in it what they learn during one scan (the file tests),
  // and never longer. Empty: nothing is kept.
  std::function<std::shared_ptr<void>()> BeginScan;
};

}  // namespace tidewell
