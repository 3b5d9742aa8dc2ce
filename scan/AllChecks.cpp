#include "scan/AllChecks.h"

#include "scan/ClassChecks.h"
#include "scan/FileReferences.h"
#include "scan/SoftwareChecks.h"

namespace tidewell {

TScanChecks MakeAllChecks(TFileReferences& refs) {
  TScanChecks checks;
  AddClassChecks(checks, refs);
  AddSoftwareChecks(checks, refs);
  TFileReferences* files = &refs;
  checks.BeginScan = [files] { return files->BeginScan(); };
  return checks;
}

}  // namespace tidewell
