#include "scan/SoftwareChecks.h"

namespace tidewell {
namespace {

using TRefsCheck = void (*)(TRegistryCheckThread&, TFileReferences&);

TSoftwareCheck Bind(TRefsCheck check, TFileReferences& refs) {
  return [check, &refs](TRegistryCheckThread& engine) { check(engine, refs); };
}

}  // namespace

void AddSoftwareChecks(TScanChecks& checks, TFileReferences& refs) {
  checks.CheckSharedDLLs = Bind(CheckSharedDLLs, refs);
  checks.CheckStartupRun = Bind(CheckStartupRun, refs);
  checks.CheckAppPaths = Bind(CheckAppPaths, refs);
  checks.CheckUninstall = Bind(CheckUninstall, refs);
  checks.CheckHelpFiles = Bind(CheckHelpFiles, refs);
  checks.CheckFonts = Bind(CheckFonts, refs);
  checks.CheckSounds = Bind(CheckSounds, refs);
  checks.CheckFileList = Bind(CheckFileList, refs);
}

}  // namespace tidewell
