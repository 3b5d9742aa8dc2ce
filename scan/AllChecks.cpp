#include "scan/AllChecks.h"

#include "scan/ClassChecks.h"
#include "scan/SoftwareChecks.h"

namespace tidewell {

TScanChecks MakeAllChecks(TFileReferences& refs) {
  TScanChecks checks;
  AddClassChecks(checks, refs);
  AddSoftwareChecks(checks, refs);
  return checks;
}

}  // namespace tidewell
